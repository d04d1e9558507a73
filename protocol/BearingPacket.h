#pragma once
// The bearing packet, the bulk of the stream: its layout lives here and nowhere else.
//
//   position  1     "B"
//             2-5   x component, 4 digits, 2048 = zero
//             6-9   y component, 4 digits
//             10    meter selector: "S" signal strength, anything else tune
//             11-12 meter value, 2 digits
//             13-15 compass heading, 3 digits, whole degrees; "999" = no compass
//             16    compass flag: "P", or another character
//             17-18 CR LF

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Station.h"

namespace kestrova {

inline constexpr std::size_t kBearingLength = 18;

struct BearingPacket {
    bool framed = false;  // CR LF at 17-18: no character was lost on the line
    std::optional<int> rawX, rawY;
    bool signalMeter = false;  // the meter value is for the signal-strength meter
    std::optional<int> meterValue;
    // 0..359, or kNoCompass: anything but a heading means no compass.
    std::int16_t heading = kNoCompass;
    std::optional<char> flag;  // as sent, when the packet reaches that far
    friend bool operator==(const BearingPacket&, const BearingPacket&) = default;
};

// Reads the packet at the head of a text; fields beyond its end, or not digits, are absent.
BearingPacket ParseBearingPacket(std::string_view packet);

// The packet's 18 characters, framed. An absent field is sent as blanks and an absent flag as
// "P"; the selector is "S" or "T".
std::string FormatBearingPacket(const BearingPacket& b);

}  // namespace kestrova
