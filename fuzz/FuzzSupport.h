#pragma once
// Shared by the harnesses: the invariant check, a display that keeps what each element was
// last given, a station as start-up leaves it, and the checks several harnesses make. It
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
#include "status/AntennaDecoder.h"
#include "status/MagTable.h"
#include "tests/fakes/FakeSerialLine.h"

// A broken invariant is a finding: say which, then stop the way libFuzzer notices.
#define FUZZ_CHECK(cond)                                                                           \
    ((cond) ? void()                                                                               \
            : (std::fprintf(stderr, "invariant broken: %s at %s:%d\n", #cond, __FILE__, __LINE__), \
               __builtin_trap()))

namespace kestrova::fuzz {

inline std::string_view bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// Each element's last text and visibility and how often it was set, the needle, and how many
// element calls there were.
struct ProbeDisplay : Display {
    struct Element {
        std::string text;
        bool visible = false;
        int sets = 0;
        bool operator==(const Element&) const = default;
    };
    void setText(El e, std::string_view t) override { touch(e).text.assign(t); }
    void setTextColour(El, Rgb) override {}
    void setVisible(El e, bool v) override { touch(e).visible = v; }
    bool loadPicture(El e, const std::string&) override { return touch(e).sets > 0; }
    void setLine(El e, int, int, int, int, Rgb) override { touch(e); }
    void setNeedleValue(double v) override { needle = v; }
    void setNeedleColour(Rgb c) override { needleColour = c; }
    void setNeedleStrength(double s) override { strength = s; }
    double twipsPerPixelY() const override { return 15.0; }

    Element& touch(El e) {
        ++calls;
        ++at(e).sets;
        return at(e);
    }
    Element& at(El e) { return elements[static_cast<std::size_t>(e)]; }
    const Element& at(El e) const { return elements[static_cast<std::size_t>(e)]; }
    std::array<Element, static_cast<std::size_t>(El::Count_)> elements{};
    std::optional<double> needle;
    double strength = 0;
    Rgb needleColour = kYellow;
    int calls = 0;
};

// A station as start-up leaves it (tables filled, the placeholder antenna), on an open line.
// The first is made afresh; the others copy it.
struct Probe {
    explicit Probe(bool afresh = false) {
        line.open();
        if (afresh) {
            CreateTables(st);
            LoadAntSettings(st, "CANT UNKNOWN\r\n", false);
            return;
        }
        static const Probe first(true);
        st.bearing = first.st.bearing;
        st.antenna = first.st.antenna;
        display = first.display;
    }
    testing::FakeSerialLine line;
    ProbeDisplay display;
    Station st{display, line};
};

// The needle as the gauge is given it: a finite angle, a strength fraction, green at the cap.
inline bool saneNeedle(const ProbeDisplay& d) {
    return d.needle && std::isfinite(*d.needle) && d.strength >= 0.0 && d.strength <= 1.0 &&
           d.needleColour == (d.strength == 1.0 ? kNeedleGreen : kYellow);
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
    const std::string& t = p.display.at(El::DOA).text;
    FUZZ_CHECK(p.display.at(El::DOA).sets == 0 || t == " - - -" ||
               (t.size() == 4 && isDigit(t[0]) && isDigit(t[1]) && isDigit(t[2]) &&
                (t[3] == ' ' || t[3] == '.') && t.substr(0, 3) <= "359"));
    const ProbeDisplay& d = p.display;
    FUZZ_CHECK(!d.needle || (saneNeedle(d) && *d.needle > -0.1 && *d.needle < 360.1));
}

// "&h" escapes the slow and obvious way: find the first, replace it and its (up to) two hex
// digits, and search again from the beginning.
inline std::optional<std::string> referenceDecode(std::string s) {
    constexpr std::string_view kHex = "0123456789abcdefABCDEF";
    for (std::size_t at = s.find("&h"); at != std::string::npos; at = s.find("&h")) {
        const std::string hex = s.substr(at + 2, 2);
        std::size_t code = 0;
        for (const char c : hex) {
            const std::size_t d = kHex.find(c);
            if (d == std::string_view::npos) {
                return std::nullopt;
            }
            code = code * 16 + (d < 16 ? d : d - 6);
        }
        if (hex.empty()) {
            return std::nullopt;
        }
        s.replace(at, 2 + hex.size(), 1, static_cast<char>(code));
    }
    return s;
}

}  // namespace kestrova::fuzz
