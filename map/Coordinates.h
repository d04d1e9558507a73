#pragma once
// A position as the GPS labels of the main window write it, from numbers: degrees, minutes
// and seconds ("33° 52' 07.4" S"), and degrees with decimal minutes ("33° 52.1234' S").
// Texts are Latin-1, as the labels': the degree sign is "\xB0".

#include <string>

namespace kestrova::map {

enum class Axis { Latitude, Longitude };

// Degrees, north and east positive; a longitude is first brought within -180..180.
std::string SexagesimalText(double degrees, Axis axis);
std::string DecimalMinutesText(double degrees, Axis axis);

// Both forms of a position on one line each: "lat  lon".
struct PositionTexts {
    std::string sexagesimal;
    std::string decimalMinutes;
};
PositionTexts PositionText(double latitude, double longitude);

}  // namespace kestrova::map
