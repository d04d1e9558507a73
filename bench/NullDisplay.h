#pragma once
// A display that takes everything and shows nothing, so benchmarks measure the logic alone.

#include "core/Display.h"

namespace kestrova::bench {

class NullDisplay : public Display {
  public:
    void setText(El, std::string_view t) override { sink_ += t.size(); }
    void setTextColour(El, Rgb) override {}
    void setVisible(El, bool) override {}
    bool loadPicture(El, const std::string&) override { return true; }
    void setLine(El, int, int y1, int, int, Rgb) override { sink_ += static_cast<unsigned>(y1); }
    void setNeedleValue(double v) override { needle_ = v; }
    void setNeedleColour(Rgb) override {}
    void setNeedleStrength(double s) override { strength_ = s; }
    double twipsPerPixelY() const override { return 15.0; }

    double needle() const { return needle_; }

  private:
    double needle_ = -1;  // -1 until a needle value arrives
    double strength_ = 0;
    unsigned sink_ = 0;
};

}  // namespace kestrova::bench
