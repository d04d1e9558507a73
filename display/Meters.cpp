#include "display/Meters.h"

#include <algorithm>
#include <cmath>

#include "core/Numbers.h"

namespace kestrova {

namespace {
constexpr int kSMeterRed = 142;  // pixels: full scale
constexpr int kTuneLowest = 4;
constexpr int kTuneHighest = 138;

int above(double twipsPerPixel, int pixels) {
    return kMeterBaseline - static_cast<int>(std::lround(twipsPerPixel * pixels));
}
}  // namespace

void Draw_Meter(Station& st, bool isSMeter, std::int32_t value) {
    const double P = st.ui.twipsPerPixelY();
    if (!(P > 0 && P < 1000)) {
        return;  // no usable pixel size: the meters stay where they are
    }
    // Readings are 00..99; anything past an end pins the meter there, in red.
    value = std::clamp<std::int32_t>(value, 0, 99);
    if (isSMeter) {
        const auto p = static_cast<int>(roundHalfEven(value * 1.43));
        st.ui.setLine(El::SMeter, kSMeterX, kMeterBaseline, kSMeterX, above(P, p),
                      p < kSMeterRed ? kYellow : kRed);
    } else {
        const auto p = static_cast<int>(roundHalfEven(value * 1.38 + 3));
        st.ui.setLine(El::TMeter, kTMeterX, above(P, p - 2), kTMeterX, above(P, p + 2),
                      (p >= kTuneLowest && p <= kTuneHighest) ? kYellow : kRed);
    }
}

}  // namespace kestrova
