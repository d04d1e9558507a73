#include "map/Coordinates.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kestrova::map {

namespace {

// The GPS sends whole degrees, minutes and ten-thousandths of a minute.
struct Fields {
    long degrees = 0;
    long minutes = 0;
    long fraction = 0;  // 0..9999
    char hemisphere = 'N';
};

Fields fields(double degrees, Axis axis) {
    if (axis == Axis::Longitude) {
        degrees = std::remainder(degrees, 360.0);
    }
    Fields f;
    f.hemisphere = axis == Axis::Latitude ? (std::signbit(degrees) ? 'S' : 'N')
                                          : (std::signbit(degrees) ? 'W' : 'E');
    const long tenThousandths = std::lround(std::abs(degrees) * 600000);
    f.degrees = tenThousandths / 600000;
    f.minutes = tenThousandths % 600000 / 10000;
    f.fraction = tenThousandths % 10000;
    return f;
}

// The labels' degree field: two digits of latitude, three of longitude.
int degreeWidth(Axis axis) {
    return axis == Axis::Latitude ? 2 : 3;
}

}  // namespace

std::string SexagesimalText(double degrees, Axis axis) {
    const Fields f = fields(degrees, axis);
    // ffff ten-thousandths of a minute are ffff x 6 thousandths of a second, shown to a tenth
    // with halves up and held below a full minute, as on the labels.
    const long tenths = std::min((f.fraction * 6 + 50) / 100, 599L);
    char text[40];
    std::snprintf(text, sizeof text, "%0*ld\xB0 %02ld' %02ld.%ld\" %c", degreeWidth(axis),
                  f.degrees, f.minutes, tenths / 10, tenths % 10, f.hemisphere);
    return text;
}

std::string DecimalMinutesText(double degrees, Axis axis) {
    const Fields f = fields(degrees, axis);
    char text[40];
    std::snprintf(text, sizeof text, "%0*ld\xB0 %02ld.%04ld' %c", degreeWidth(axis), f.degrees,
                  f.minutes, f.fraction, f.hemisphere);
    return text;
}

PositionTexts PositionText(double latitude, double longitude) {
    return {SexagesimalText(latitude, Axis::Latitude) + "  " +
                SexagesimalText(longitude, Axis::Longitude),
            DecimalMinutesText(latitude, Axis::Latitude) + "  " +
                DecimalMinutesText(longitude, Axis::Longitude)};
}

}  // namespace kestrova::map
