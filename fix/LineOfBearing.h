#pragma once
// A line of bearing: where a bearing was taken and which way it pointed, in degrees true.

#include <cstdint>
#include <string>

#include "core/Readings.h"

namespace kestrova::fix {

// What turned the antenna's relative bearing into a true one.
enum class HeadingSource {
    Compass,  // the processor's compass, with the declination setting added
    Course,   // the course over ground between two GPS positions, while moving fast enough
    Fixed,    // the fixed heading of a stationary site (settings)
    Manual,   // typed in by the operator: the true bearing itself
};

struct LineOfBearing {
    std::uint64_t id = 0;  // stable for the line's life in its store; never 0
    Stamp time;
    GeoPosition station;
    double trueBearing = 0;  // degrees clockwise from true north, 0 <= b < 360
    HeadingSource heading = HeadingSource::Compass;
    std::int16_t signal = 0;  // 0 for a line added by hand
    std::string band;
    std::string note;       // the operator's words for a line added by hand
    bool excluded = false;  // left out of the fix by the operator
};

}  // namespace kestrova::fix
