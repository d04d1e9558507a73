#include "settings/PortDevices.h"

namespace kestrova {

std::string DefaultPortDevice(std::int16_t port) {
    if (port >= 1 && port <= 4) {
        return "/dev/ttyS" + std::to_string(port - 1);
    }
    if (port >= 5 && port <= 12) {
        return "/dev/ttyUSB" + std::to_string(port - 5);
    }
    if (port >= 13 && port <= 16) {
        return "/dev/ttyACM" + std::to_string(port - 13);
    }
    return {};
}

std::string PortDeviceKey(std::int16_t port) {
    std::string key = "PortDevice";
    key += static_cast<char>('0' + port / 10 % 10);
    key += static_cast<char>('0' + port % 10);
    return key;
}

void PortDevices::load(const std::function<std::string(const std::string&)>& read) {
    for (std::int16_t p = kFirstPort; p <= kLastPort; ++p) {
        std::string value = read(PortDeviceKey(p));
        // A value typed with a trailing blank or CR should still name the device.
        while (!value.empty() && (value.back() == ' ' || value.back() == '\r' ||
                                  value.back() == '\t' || value.back() == '\n')) {
            value.pop_back();
        }
        overrides_[static_cast<std::size_t>(p)] = value;
    }
}

std::string PortDevices::deviceFor(std::int16_t port) const {
    if (pinned_ == port) {
        return runDevice_;
    }
    if (port < kFirstPort || port > kLastPort) {
        return {};
    }
    const std::string& o = overrides_[static_cast<std::size_t>(port)];
    return o.empty() ? DefaultPortDevice(port) : o;
}

}  // namespace kestrova
