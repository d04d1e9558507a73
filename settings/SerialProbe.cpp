#include "settings/SerialProbe.h"

#include <linux/serial.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace kestrova {

bool LinuxPortProbe::isRs232(int handle) {
    if (handle < 0 || ::isatty(handle) != 1) {
        return false;
    }
    serial_struct info{};
    if (::ioctl(handle, TIOCGSERIAL, &info) != 0) {
        return true;  // no UART driver behind it (a pseudo-terminal, say): still a serial line
    }
    return info.type != PORT_UNKNOWN;
}

}  // namespace kestrova
