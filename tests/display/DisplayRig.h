#pragma once
// A station on a recording display, for driving the display procedures directly.

#include <cmath>
#include <string>

#include "core/Station.h"
#include "display/Bearing.h"
#include "display/Polar.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/RecordingDisplay.h"

namespace kestrova::testing {

struct DisplayRig {
    DisplayRig() {
        line.open();
        // Filled here rather than by the start-up code, so these tests stand on their own.
        for (int i = 0; i < 101 * 101; ++i) {
            st.bearing.MagTable[i / 101][i % 101] =
                std::uint8_t(std::lround(std::hypot(i / 101, i % 101)));
        }
    }
    // An 18-character bearing packet; the fields are given as text so bad ones can be written.
    static std::string packet(std::string x, std::string y, std::string compass = "999P") {
        return "B" + x + y + "S42" + compass + "\r\n";
    }
    static std::string raw(long v) { return std::to_string(10000 + v).substr(1); }  // 0..9999
    // Puts the packet of vector (x, y) through the needle, then the readout, and returns the
    // readout. Mode R is relative, A absolute, N absolute without a good compass fix.
    std::string bearing(int x, int y, float offset = 0, char mode = 'R', int heading = 999,
                        bool air = false, std::uint8_t band = 5) {
        st.status.BandIndex = band;
        st.antenna.BandOffset[5] = offset;
        st.bearing.RelBearMode = mode == 'R';
        st.bearing.CompassFlag = mode == 'N' ? 'N' : 'P';
        st.bearing.CompassHeading = static_cast<std::int16_t>(heading);
        st.status.AntAirMount = air;
        st.link.RxBuffer =
            packet(raw(std::lround(2048 + 20.4 * x)), raw(std::lround(2048 + 20.4 * y)));
        DrawLine(st);
        DrawDigitalDOA(st);
        return display.text(El::DOA);
    }
    FakeSerialLine line;
    RecordingDisplay display;
    Station st{display, line};
};

}  // namespace kestrova::testing
