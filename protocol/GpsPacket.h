#pragma once
// The GPS packet: fixed-width fields, the latitude's then the longitude's.
//
//   position  1      "D"
//             2      latitude sign: "-" south, anything else north
//             3-4    latitude degrees        5-6    whole minutes   7-10   minute fraction
//             11     longitude sign: "-" west, anything else east
//             12-14  longitude degrees       15-16  whole minutes   17-20  minute fraction

#include <optional>
#include <string>
#include <string_view>

#include "core/Readings.h"

namespace kestrova {

struct GpsCoordinate {
    char hemisphere = 'N';  // N or S, E or W
    std::string degrees;    // as sent, leading zeros or blanks kept
    std::string minutes;
    std::string fraction;  // four digits: ten-thousandths of a minute
    friend bool operator==(const GpsCoordinate&, const GpsCoordinate&) = default;
};

struct GpsFix {
    GpsCoordinate lat, lon;
    friend bool operator==(const GpsFix&, const GpsFix&) = default;
};

// The fix in a GPS line (up to its first LF); nothing when a field is no number, so a position
// is shown whole or not at all. Degrees and minutes may be padded with leading blanks (" 5",
// " 05"); the fraction is four digits.
std::optional<GpsFix> ParseGpsPacket(std::string_view line);

// "D", then each coordinate as its sign ("-" south and west, "+" the rest) and its fields,
// CR LF.
std::string FormatGpsPacket(const GpsFix& fix);

// The fix in signed decimal degrees, south and west negative.
GeoPosition PositionOf(const GpsFix& fix);

}  // namespace kestrova
