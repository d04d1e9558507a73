#pragma once
// The status packet: "A", then the fields separated by single commas, CR LF. For example
// "AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT,REL".
//
//   field 1 operating mode   2 IF bandwidth   3 antenna mount (3 characters: AIR, GND)
//         4 local/remote     5 video gain     6 band index (0..255)
//         7 mode (HNT direction finding, RCV receive only)
//         8 power (the 3 characters after the 7th comma: BAT, BRT, DIM, CLS)
//
// Each field's closing comma is looked for from its second character on, so a comma right
// after an opening one belongs to the field. Positions are 8-bit: nothing past character 255
// is read, so a longer line cannot wrap around into its own earlier text.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/Replies.h"

namespace kestrova {

struct StatusLine {
    enum class Mount { Air, Ground, Other };
    enum class Mode { DirectionFinding, ReceiveOnly, Unknown };
    enum class Power { LowBattery, Bright, Dim, Close, Unknown };

    // The fields as sent; `power` is cut short where the line is.
    std::string opMode, ifBw, mount, localRemote, videoGain, band, mode, power;
    std::string rest;  // after the power token ("," and more), without the line's CR LF

    // What they mean, read once. How far the line counts: 0, no status line (fewer than seven
    // commas before its LF); 2, the mount is not 3 characters and reading stops there; 7, the
    // mode is unknown and the power is not looked at; 8, all.
    int fieldsRead = 0;
    Mount mountIs = Mount::Other;
    std::optional<std::uint8_t> bandIndex;  // nothing when field 6 is no whole number 0..255
    Mode modeIs = Mode::Unknown;
    Power powerIs = Power::Unknown;

    friend bool operator==(const StatusLine&, const StatusLine&) = default;
};

// Reads the status line at the head of a text, up to its first LF.
StatusLine ParseStatusLine(std::string_view text);

// "A", the fields joined by commas, the rest, CR LF; only the texts count.
std::string FormatStatusLine(const StatusLine& s);

// What the line is answered with: nothing when it stops before the mode, a rejection for an
// unknown mode or power, an acknowledgement otherwise.
Reply StatusReply(const StatusLine& s);

}  // namespace kestrova
