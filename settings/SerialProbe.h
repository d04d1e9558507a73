#pragma once
// The RS-232 test made on an open port.

#include <optional>
#include <string>

namespace kestrova {

class PortProbe {
  public:
    virtual ~PortProbe() = default;
    virtual bool isRs232(int handle) = 0;
    // Whether a device that is no file (a network address) answers, found by trying it;
    // nothing for a device file, which is opened and asked.
    virtual std::optional<bool> answers(const std::string& /*device*/) { return std::nullopt; }
};

// What the system says of an open port, and whether that makes it a usable serial line: a
// terminal that either has no UART driver behind it (a pseudo-terminal), reports a real UART
// type, or sits on USB (CDC-ACM adapters report no UART type at all). A legacy serial port
// without a UART behind it reports the unknown type and is not usable.
struct PortFacts {
    bool terminal = false;
    bool answersSerialInfo = false;
    bool knownUartType = false;
    bool onUsb = false;
};
bool UsableSerialPort(const PortFacts& facts);

// The device's place in sysfs, e.g. "/sys/devices/pci0000:00/.../usb1/1-1/...", for a tty
// name such as "ttyACM0"; "" when unknown.
std::string SysfsDeviceOf(const std::string& ttyName);

class LinuxPortProbe : public PortProbe {
  public:
    bool isRs232(int handle) override;
};

}  // namespace kestrova
