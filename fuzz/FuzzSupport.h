#pragma once
// Shared by the harnesses: a display that keeps what each element was last given, a station
// in its start-up state, and the invariant check.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "core/Display.h"
#include "core/Station.h"
#include "status/AntennaDecoder.h"
#include "status/MagTable.h"
#include "tests/fakes/FakeSerialLine.h"

// A broken invariant is a finding: say which, then stop the way libFuzzer notices.
#define FUZZ_CHECK(cond)                                                                        \
    do {                                                                                        \
        if (!(cond)) {                                                                          \
            std::fprintf(stderr, "invariant broken: %s at %s:%d\n", #cond, __FILE__, __LINE__); \
            __builtin_trap();                                                                   \
        }                                                                                       \
    } while (0)

namespace kestrova::fuzz {

class ProbeDisplay : public Display {
  public:
    static constexpr std::size_t kN = static_cast<std::size_t>(El::Count_);
    static std::size_t idx(El e) { return static_cast<std::size_t>(e); }

    void setText(El e, std::string_view t) override {
        texts[idx(e)].assign(t);
        ++textSets[idx(e)];
    }
    void setTextColour(El e, Rgb c) override { colours[idx(e)] = c; }
    void setVisible(El e, bool v) override {
        visible[idx(e)] = v;
        ++visibleSets[idx(e)];
    }
    bool loadPicture(El e, const std::string&) override {
        ++pictureLoads[idx(e)];
        return true;
    }
    void setLine(El e, int, int y1, int, int y2, Rgb c) override {
        lineTop[idx(e)] = y1 < y2 ? y1 : y2;
        colours[idx(e)] = c;
        ++textSets[idx(e)];
    }
    void setNeedleValue(double v) override {
        needleValue = v;
        ++needleSets;
    }
    void setNeedleColour(Rgb c) override { needleColour = c; }
    void setNeedleStrength(double s) override { needleStrength = s; }
    double twipsPerPixelY() const override { return 15.0; }

    const std::string& text(El e) const { return texts[idx(e)]; }
    int sets(El e) const { return textSets[idx(e)]; }
    bool isVisible(El e) const { return visible[idx(e)]; }

    std::array<std::string, kN> texts{};
    std::array<int, kN> textSets{};
    std::array<Rgb, kN> colours{};
    std::array<bool, kN> visible{};
    std::array<int, kN> visibleSets{};
    std::array<int, kN> pictureLoads{};
    std::array<int, kN> lineTop{};
    double needleValue = 0;
    Rgb needleColour = kYellow;
    double needleStrength = 0;
    int needleSets = 0;
};

// The magnitude table, built once per process.
inline const MagTableT& magTable() {
    static const MagTableT table = [] {
        ProbeDisplay d;
        testing::FakeSerialLine l;
        Station s(d, l);
        CreateTables(s);
        return s.bearing.MagTable;
    }();
    return table;
}

// What start-up leaves: tables filled, placeholder antenna, the DF-off sign hidden.
inline void startUp(Station& st, ProbeDisplay& display) {
    st.bearing.MagTable = magTable();
    LoadAntSettings(st, "CANT UNKNOWN\r\n", false);
    display.visible[ProbeDisplay::idx(El::FrameDFOff)] = false;
    display.visible[ProbeDisplay::idx(El::BatteryMeter)] = false;
}

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The digital readout holds three digits and a blank or a dot, or the placeholder.
inline bool wellFormedDOA(std::string_view t) {
    if (t == " - - -") {
        return true;
    }
    return t.size() == 4 && isDigit(t[0]) && isDigit(t[1]) && isDigit(t[2]) &&
           (t[3] == ' ' || t[3] == '.') && std::string_view(t.substr(0, 3)) <= "359";
}

// Entries 0 and 16 of the antenna record are never written.
inline bool antennaEdgesUntouched(const Station& st) {
    return st.antenna.BandText[0].empty() && st.antenna.BandText[16].empty() &&
           st.antenna.BandOffset[0] == 0.0f && st.antenna.BandOffset[16] == 0.0f;
}

// The needle as the gauge is given it: a finite angle, a strength fraction, green only at
// the cap.
inline bool saneNeedle(const ProbeDisplay& d) {
    if (!std::isfinite(d.needleValue) || !(d.needleStrength >= 0.0 && d.needleStrength <= 1.0)) {
        return false;
    }
    if (d.needleColour == kNeedleGreen) {
        return d.needleStrength == 1.0;
    }
    return d.needleColour == kYellow;
}

// Replies the processor may see: acknowledgements, rejections and stay-alive NULs only.
inline bool onlyKnownReplies(std::string_view w) {
    while (!w.empty()) {
        if (w.starts_with(std::string_view("\0", 1))) {
            w.remove_prefix(1);
        } else if (w.starts_with("\r\n")) {
            w.remove_prefix(2);
        } else if (w.starts_with("\a\r\n")) {
            w.remove_prefix(3);
        } else {
            return false;
        }
    }
    return true;
}

// "&h" escapes the slow and obvious way: find the first, replace it and its (up to) two hex
// digits, and search again from the beginning.
inline std::optional<std::string> referenceDecode(std::string s) {
    for (;;) {
        const std::size_t at = s.find("&h");
        if (at == std::string::npos) {
            return s;
        }
        const std::string hex = s.substr(at + 2, 2);
        if (hex.empty()) {
            return std::nullopt;
        }
        int code = 0;
        for (const char c : hex) {
            int d = -1;
            if (c >= '0' && c <= '9') {
                d = c - '0';
            } else if (c >= 'a' && c <= 'f') {
                d = c - 'a' + 10;
            } else if (c >= 'A' && c <= 'F') {
                d = c - 'A' + 10;
            }
            if (d < 0) {
                return std::nullopt;
            }
            code = code * 16 + d;
        }
        s.replace(at, 2 + hex.size(), 1, static_cast<char>(code));
    }
}

}  // namespace kestrova::fuzz
