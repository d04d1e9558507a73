#pragma once
// A station on a recording display, for driving the display procedures directly.

#include <cmath>
#include <cstdio>
#include <string>

#include "app/Station.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/RecordingDisplay.h"

namespace kestrova::testing {

// Filled here rather than by the start-up code, so these tests stand on their own.
inline void fillMagTable(MagTableT& t) {
    for (int x = 0; x <= 100; ++x) {
        for (int y = 0; y <= 100; ++y) {
            t[x][y] = static_cast<std::uint8_t>(std::lround(std::sqrt(x * x + y * y)));
        }
    }
}

// An 18-character bearing packet; the fields are given as text so bad ones can be written.
inline std::string bearingPacket(const std::string& x, const std::string& y,
                                 const std::string& meter = "S42",
                                 const std::string& compass = "999P") {
    return "B" + x + y + meter + compass + "\r\n";
}

inline std::string raw(int v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04d", v);
    return buf;
}

struct DisplayRig {
    DisplayRig() {
        line.open();
        fillMagTable(st.MagTable);
    }
    FakeSerialLine line;
    RecordingDisplay display;
    Station st{display, line};
};

}  // namespace kestrova::testing
