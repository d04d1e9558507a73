#pragma once
// The status packet: "A", then the fields separated by single commas, CR LF. For example
// "AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT,REL".
//
//   field 1 operating mode   2 IF bandwidth   3 antenna mount (3 characters: AIR, GND)
//         4 local/remote     5 video gain     6 band index (0..255)
//         7 mode (HNT direction finding, RCV receive only)
//         8 power (the 3 characters after the 7th comma: BAT, BRT, DIM, CLS)

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Station.h"

namespace kestrova {

struct StatusLine {
    enum class Mount { Air, Ground, Other };
    enum class Mode { DirectionFinding, ReceiveOnly, Unknown };
    enum class Power { LowBattery, Bright, Dim, Close, Unknown };

    // How far the line was read: 0, no status line (fewer than seven commas); 2, the mount
    // field was not 3 characters and reading stopped there; 7, the mode is unknown; 8, all.
    int fieldsRead = 0;
    std::string opMode, ifBw;
    Mount mount = Mount::Other;
    std::string localRemote, videoGain;
    std::optional<std::uint8_t> band;  // nothing when field 6 is no whole number 0..255
    Mode mode = Mode::Unknown;
    Power power = Power::Unknown;
};

// Reads the status line at the head of a text, up to its first LF (and at most 255
// characters, as positions are 8-bit).
StatusLine ParseStatusLine(std::string_view text);

// Decodes the status line at the head of RxBuffer into the device-status record, redraws the
// banners whose value changed and answers the processor.
void ProcessStatusString(Station& st);

}  // namespace kestrova
