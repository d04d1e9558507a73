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

#include "core/Station.h"

namespace kestrova {

struct GpsCoordinate {
    char hemisphere = 'N';  // N or S, E or W
    std::string degrees;    // as sent, leading zeros kept
    std::string minutes;
    std::string fraction;  // four digits: ten-thousandths of a minute
};

struct GpsFix {
    GpsCoordinate lat, lon;
};

// The fix in a GPS line (up to its first LF); nothing when a degree, minute or fraction field
// is not all digits, so a position is shown whole or not at all.
std::optional<GpsFix> ParseGpsPacket(std::string_view line);

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
