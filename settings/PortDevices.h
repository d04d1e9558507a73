#pragma once
// Which device each port number 1..16 opens. The numbers and their "COM" names stay as the
// operator knows them; the settings file may point any of them at another device.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

namespace kestrova {

inline constexpr std::int16_t kFirstPort = 1;
inline constexpr std::int16_t kLastPort = 16;

// /dev/ttyS0-3 for 1-4, /dev/ttyUSB0-7 for 5-12, /dev/ttyACM0-3 for 13-16; "" otherwise.
std::string DefaultPortDevice(std::int16_t port);
// "PortDevice01" .. "PortDevice16": two digits, so no key is a prefix of another.
std::string PortDeviceKey(std::int16_t port);

class PortDevices {
  public:
    PortDevices() = default;
    // Reads the optional PortDeviceNN keys through `read` (key -> value, "" when absent).
    void load(const std::function<std::string(const std::string&)>& read);
    // The device for a port number; "" for numbers outside 1..16 unless pinned below.
    std::string deviceFor(std::int16_t port) const;

    // A device given for this run only (the command line's --port); nothing is stored. It
    // takes the place of whichever port start-up opens, once start-up names it with pin().
    void setRunDevice(std::string device) { runDevice_ = std::move(device); }
    void pin(std::int16_t port) {
        if (!runDevice_.empty()) {
            pinned_ = port;
        }
    }

  private:
    std::array<std::string, kLastPort + 1> overrides_{};
    std::string runDevice_;
    std::optional<std::int16_t> pinned_;
};

}  // namespace kestrova
