#pragma once
// The GPS position: the packet's fields, and the four labels that show them.
//
//   position  1      "D"
//             2      latitude sign: "-" south, anything else north
//             3-4    latitude degrees        5-6    whole minutes   7-10   minute fraction
//             11     longitude sign: "-" west, anything else east
//             12-14  longitude degrees       15-16  whole minutes   17-20  minute fraction

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "core/Readings.h"
#include "core/Station.h"

namespace kestrova {

struct GpsCoordinate {
    char hemisphere = 'N';  // N or S, E or W
    std::string degrees;    // as sent, leading zeros or blanks kept
    std::string minutes;
    std::string fraction;  // four digits: ten-thousandths of a minute
    double value = 0;      // in decimal degrees, south and west negative
};

struct GpsFix {
    GpsCoordinate lat, lon;
    GeoPosition position() const { return {lat.value, lon.value}; }
};

// The fix in a GPS line (up to its first LF); nothing when a field is no number, so a
// position is shown whole or not at all. The degree and minute fields are fixed-width
// numbers whose leading blanks are padding (" 5", " 05"); the fraction is four digits, as a
// blank among the digits after a point would stand for no digit at all.
std::optional<GpsFix> ParseGpsPacket(std::string_view line);

// Degrees, whole minutes and ten-thousandths of a minute in decimal degrees.
double SignedDegrees(int degrees, int minutes, int fraction, bool negative);

// Shows the fix of the packet at the head of RxBuffer; false when it holds none, and the
// labels then stay as they were.
bool GPSDisplay(Station& st);
void GPS_Blank(Station& st);

// What the four labels show while there is no position, in the order of GpsLabels.
inline constexpr std::array<El, 4> kGpsLabels{El::Banner_GPS_Sexa_Lat, El::Banner_GPS_Sexa_Lon,
                                              El::Banner_GPS_Decimal_Lat,
                                              El::Banner_GPS_Decimal_Lon};
inline constexpr std::array<const char*, 4> kGpsBlank{
    "--\xB0  --'  --.-\" -", "---\xB0  --'  --.-\" -", "--\xB0  --.----'  -",
    "---\xB0  --.----'  -"};

}  // namespace kestrova
