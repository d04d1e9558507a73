#pragma once
// Remembers what each display element was last given, and the order of the calls.

#include <array>
#include <string>
#include <vector>

#include "core/Display.h"

namespace kestrova::testing {

struct LineState {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Rgb colour{};
    bool set = false;
};

class RecordingDisplay : public Display {
    static std::size_t idx(El e) { return static_cast<std::size_t>(e); }
    template <class A>
    static typename A::reference at(A& a, El e) {
        return a[idx(e)];
    }

  public:
    void setText(El e, std::string_view t) override {
        at(texts, e) = std::string(t);
        log.push_back(std::string("text ") + elementName(e) + "=" + std::string(t));
    }
    void setTextColour(El e, Rgb c) override { at(textColours, e) = c; }
    void setVisible(El e, bool v) override {
        at(visible, e) = v;
        log.push_back(std::string(v ? "show " : "hide ") + elementName(e));
    }
    bool loadPicture(El e, const std::string& path) override {
        log.push_back(std::string("picture ") + elementName(e) + "=" + path);
        if (failPictures) {
            return false;
        }
        at(pictures, e) = path;
        return true;
    }
    void setLine(El e, int x1, int y1, int x2, int y2, Rgb c) override {
        at(lines, e) = LineState{x1, y1, x2, y2, c, true};
        log.push_back(std::string("line ") + elementName(e));
    }
    void setNeedleValue(double v) override {
        needleValue = v;
        log.push_back("needle");
    }
    void setNeedleColour(Rgb c) override { needleColour = c; }
    void setNeedleStrength(double s) override { needleStrength = s; }
    double twipsPerPixelY() const override { return twipsPerPixel; }
    void bearingsStopped() override { log.push_back("bearings stopped"); }

    const std::string& text(El e) const { return texts[idx(e)]; }
    bool isVisible(El e) const { return visible[idx(e)]; }
    const std::string& picture(El e) const { return pictures[idx(e)]; }
    const LineState& line(El e) const { return lines[idx(e)]; }

    static constexpr std::size_t kN = static_cast<std::size_t>(El::Count_);
    std::array<std::string, kN> texts{};
    std::array<Rgb, kN> textColours{};
    std::array<bool, kN> visible = [] {
        std::array<bool, kN> v{};
        v.fill(true);
        return v;
    }();
    std::array<std::string, kN> pictures{};
    std::array<LineState, kN> lines{};
    double needleValue = -1;
    Rgb needleColour{};
    double needleStrength = -1;
    double twipsPerPixel = 15.0;
    bool failPictures = false;
    std::vector<std::string> log;
};

}  // namespace kestrova::testing
