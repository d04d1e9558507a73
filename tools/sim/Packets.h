// Byte-exact packets as the processor puts them on the line.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kestrova::sim {

inline constexpr const char* kLineEnd = "\r\n";

// A vector component (-100..100) as its 4-digit raw value: 2048 is zero, 20.4 counts per unit.
int rawComponent(double value);

struct BearingFields {
    double x = 0;  // vector components, -100..100
    double y = 0;
    char selector = 'S';  // "S": signal strength; any other character: tune
    int meter = 0;        // 0..99
    int heading = -1;     // whole degrees; negative: no compass ("999")
    char flag = 'P';
};

// "B" xxxx yyyy sel vv hhh flag CR LF, always 18 characters.
std::string formatBearing(const BearingFields& f);

struct StatusFields {
    std::string opMode = "FM/S";
    std::string ifBandwidth = "IF 25";
    std::string mount = "AIR";
    std::string localRemote = "LCL";
    std::string videoGain = "HIGH";
    std::string band = "01";
    std::string dfMode = "HNT";
    std::string power = "BRT";
    std::string rest = "REL";  // empty: the line ends after the power token
};

// "A" and the fields joined by commas, CR LF.
std::string formatStatus(const StatusFields& f);

struct AntennaBand {
    std::string text;           // e.g. "118-137"; the display appends the unit itself
    std::optional<int> offset;  // bearing offset in tenths of a degree
};

struct Antenna {
    std::string model;  // "ANT UNKNOWN" when no antenna is identified
    std::vector<AntennaBand> bands;
};

// "C" model, then ",band[/offset]" for each band, CR LF.
std::string formatAntenna(const Antenna& a);

// "D" then latitude (sign, 2-digit degrees, minutes, 4-digit minute fraction) and longitude
// (sign, 3-digit degrees, ...), CR LF; 22 characters. "-" marks south and west, "+" the rest.
std::string formatGps(double latitude, double longitude);

}  // namespace kestrova::sim
