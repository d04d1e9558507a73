#pragma once
// Shared by the harnesses: the invariant check, a station as start-up leaves it on the fake
// window, and the checks several harnesses make. It
// brings the standard headers they all use.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "core/Numbers.h"
#include "core/Station.h"
#include "tests/fakes/StationRig.h"

// A broken invariant is a finding: say which, then stop the way libFuzzer notices.
#define FUZZ_CHECK(cond)                                                                           \
    ((cond) ? void()                                                                               \
            : (std::fprintf(stderr, "invariant broken: %s at %s:%d\n", #cond, __FILE__, __LINE__), \
               __builtin_trap()))

namespace kestrova::fuzz {

inline std::string_view bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// A station as start-up leaves it, on an open line and the fake window, which only keeps
// state here.
struct Probe : testing::StationRig {
    Probe() { window.logging = false; }
};

// The needle as the gauge is given it: a finite angle, a strength fraction, green at the cap.
inline bool saneNeedle(const testing::NeedleState& n) {
    return n.sets > 0 && std::isfinite(n.value) && n.strength >= 0.0 && n.strength <= 1.0 &&
           n.colour == (n.strength == 1.0 ? kNeedleGreen : kYellow);
}

// Entries 0 and 16 of the antenna record are never written.
inline bool antennaEdgesUntouched(const AntennaRecord& a) {
    return a.BandText[0].empty() && a.BandText[16].empty() && a.BandOffset[0] == 0.0f &&
           a.BandOffset[16] == 0.0f;
}

// What the bearing displays hold whatever came in: values in range, the readout three digits
// and a blank or a dot (or the placeholder), the needle on the dial.
inline void checkBearing(const Probe& p) {
    const BearingRecord& b = p.st.bearing;
    FUZZ_CHECK(b.SignalMag >= 0 && b.SignalMag <= 99 && b.DOA_Tenths >= 0 && b.DOA_Tenths <= 3599);
    FUZZ_CHECK(b.CompassHeading <= 359 ? b.CompassHeading >= 0 : b.CompassHeading == kNoCompass);
    FUZZ_CHECK(b.RelBearMode == (b.CompassHeading == kNoCompass));
    FUZZ_CHECK(b.CompassFlag == 'P' || b.CompassFlag == 'N');
    const std::string& t = p.window.text(El::DOA);
    FUZZ_CHECK(p.window.at(El::DOA).texts == 0 || t == " - - -" ||
               (t.size() == 4 && isDigit(t[0]) && isDigit(t[1]) && isDigit(t[2]) &&
                (t[3] == ' ' || t[3] == '.') && t.substr(0, 3) <= "359"));
    const testing::NeedleState& n = p.window.needle;
    FUZZ_CHECK(n.sets == 0 || (saneNeedle(n) && n.value > -0.1 && n.value < 360.1));
}

}  // namespace kestrova::fuzz
