#include "settings/SerialProbe.h"

#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>

namespace kestrova {

bool UsableSerialPort(const PortFacts& f) {
    if (!f.terminal) {
        return false;
    }
    return !f.answersSerialInfo || f.knownUartType || f.onUsb;
}

std::string SysfsDeviceOf(const std::string& ttyName) {
    std::error_code ec;
    const auto device = std::filesystem::canonical(
        std::filesystem::path("/sys/class/tty") / ttyName / "device", ec);
    return ec ? std::string() : device.string();
}

bool LinuxPortProbe::isRs232(int handle) {
    PortFacts f;
    f.terminal = handle >= 0 && ::isatty(handle) == 1;
    serial_struct info{};
    f.answersSerialInfo = f.terminal && ::ioctl(handle, TIOCGSERIAL, &info) == 0;
    f.knownUartType = f.answersSerialInfo && info.type != PORT_UNKNOWN;
    if (f.answersSerialInfo && !f.knownUartType) {
        std::error_code ec;
        const auto dev =
            std::filesystem::read_symlink("/proc/self/fd/" + std::to_string(handle), ec);
        const std::string sysfs = ec ? std::string() : SysfsDeviceOf(dev.filename().string());
        f.onUsb = sysfs.find("/usb") != std::string::npos;
    }
    return UsableSerialPort(f);
}

}  // namespace kestrova
