#pragma once
// The GPS position on its four labels: degrees, minutes and seconds, and decimal minutes.

#include <array>
#include <string>

#include "core/Station.h"
#include "protocol/GpsPacket.h"

namespace kestrova {

// Shows a fix on the four labels.
void GPSDisplay(Station& st, const GpsFix& fix);
void GPS_Blank(Station& st);

// The labels, in the order of kGpsLabels.
std::array<std::string, 4> GpsLabels(const GpsFix& fix);

// What the four labels show while there is no position, in the order of kGpsLabels.
inline constexpr std::array<El, 4> kGpsLabels{El::Banner_GPS_Sexa_Lat, El::Banner_GPS_Sexa_Lon,
                                              El::Banner_GPS_Decimal_Lat,
                                              El::Banner_GPS_Decimal_Lon};
inline constexpr std::array<const char*, 4> kGpsBlank{
    "--\xB0  --'  --.-\" -", "---\xB0  --'  --.-\" -", "--\xB0  --.----'  -",
    "---\xB0  --.----'  -"};

}  // namespace kestrova
