#pragma once
// The one stand-in for the window, for tests, fuzzers and benchmarks: it keeps what each
// element was last given and how often, and logs every call in order ("DOA=123.",
// "hide FrameDFOff", "needle 90"), each with the clock's time when one is set. With logging
// off it only keeps state, cheap enough for benchmarks.

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "core/Display.h"
#include "core/Readings.h"
#include "core/Timer.h"

namespace kestrova::testing {

struct LineState {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Rgb colour{};
    bool set = false;
    bool operator==(const LineState&) const = default;
};

struct ElementState {
    std::string text, picture;
    Rgb colour{};
    bool visible = true;
    LineState line;
    int texts = 0;  // text calls
    bool operator==(const ElementState&) const = default;
};

struct NeedleState {
    double value = -1, strength = -1;  // -1 until given
    Rgb colour{};
    int sets = 0;  // value changes
    bool operator==(const NeedleState&) const = default;
};

class FakeWindow : public Display, public ReadingListener {
  public:
    void setText(El e, std::string_view t) override {
        at(e).text.assign(t);
        ++at(e).texts;
        ++calls;
        note(e, "=", t);
    }
    void setTextColour(El e, Rgb c) override { at(e).colour = c; }
    void setVisible(El e, bool v) override {
        at(e).visible = v;
        ++calls;
        note(e, v ? " shown" : " hidden", {});
    }
    bool loadPicture(El e, const std::string& path) override {
        at(e).picture = path;
        ++calls;
        note(e, "<", path);
        return true;
    }
    void setLine(El e, int x1, int y1, int x2, int y2, Rgb c) override {
        at(e).line = {x1, y1, x2, y2, c, true};
        ++calls;
        if (logging) {
            note(e, " ",
                 std::to_string(x1) + "," + std::to_string(y1) + ":" + std::to_string(x2) + "," +
                     std::to_string(y2) + (c == kRed ? " red" : ""));
        }
    }
    void setNeedleValue(double v) override {
        needle.value = v;
        ++needle.sets;
        number("needle ", v);
    }
    void setNeedleColour(Rgb c) override {
        if (c != needle.colour) {
            add(c == kNeedleGreen ? "needle green" : c == kYellow ? "needle yellow" : "needle ?");
        }
        needle.colour = c;
    }
    void setNeedleStrength(double s) override {
        needle.strength = s;
        number("strength ", s);
    }
    double twipsPerPixelY() const override { return twipsPerPixel; }
    // Told as a listener, in the same log; the bearings and positions shown only when asked.
    void bearingsStopped() override { add("bearings stopped"); }
    void bearingShown(const BearingShown& b) override {
        if (readings) {
            char s[96];
            std::snprintf(s, sizeof s, "shown %d %s rel %d compass %d%s signal %d band ", b.tenths,
                          b.absolute ? "ABS" : "REL", b.relativeTenths, b.compassHeading,
                          b.airMount ? " air" : "", b.signal);
            add(s + b.band + " at " + (b.position ? where(*b.position) : "none"));
        }
    }
    void positionShown(const PositionShown& p) override {
        if (readings) {
            add("position " + where(p.position));
        }
    }
    void positionLost() override {
        if (readings) {
            add("position lost");
        }
    }

    ElementState& at(El e) { return elements[static_cast<std::size_t>(e)]; }
    const ElementState& at(El e) const { return elements[static_cast<std::size_t>(e)]; }
    const std::string& text(El e) const { return at(e).text; }
    bool isVisible(El e) const { return at(e).visible; }
    const LineState& line(El e) const { return at(e).line; }
    // The log since the last call, joined by "|", and cleared.
    std::string takeLog() {
        std::string out;
        for (const std::string& entry : log) {
            out += (out.empty() ? "" : "|") + entry;
        }
        log.clear();
        return out;
    }
    void add(const std::string& entry) {
        if (logging) {
            log.push_back(clock ? std::to_string(clock->nowMs()) + " " + entry : entry);
        }
    }

    std::array<ElementState, static_cast<std::size_t>(El::Count_)> elements{};
    NeedleState needle;
    int calls = 0;  // element calls of every kind
    double twipsPerPixel = 15.0;
    bool logging = true;
    bool readings = false;
    const MonotonicClock* clock = nullptr;
    std::vector<std::string> log;

  private:
    static std::string where(const GeoPosition& g) {
        char s[48];
        std::snprintf(s, sizeof s, "%.6f,%.6f", g.latitude, g.longitude);
        return s;
    }
    void note(El e, const char* how, std::string_view what) {
        if (logging) {
            add(std::string(elementName(e)) + how + std::string(what));
        }
    }
    void number(const char* what, double v) {
        if (logging) {
            char b[40];
            std::snprintf(b, sizeof b, "%s%.9g", what, v);
            add(b);
        }
    }
};

}  // namespace kestrova::testing
