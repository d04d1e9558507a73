#include "display/Polar.h"

#include <limits>

#include "display/Bearing.h"
#include "display/Fields.h"

namespace kestrova {

namespace {
constexpr float kFullCircle = 3600;  // tenths of a degree
constexpr std::int16_t kMagnitudeCap = 99;

// Bearing packet, 1-based positions of the raw vector components.
constexpr std::size_t kXPos = 2;
constexpr std::size_t kYPos = 6;
constexpr std::size_t kRawLen = 4;

std::int16_t vectorComponent(int raw) {
    // 0..9999 gives -100..390: always a 16-bit value.
    return static_cast<std::int16_t>(fields::roundHalfEven((raw - 2048) / 20.4));
}
}  // namespace

void DrawLine(Station& st) {
    int rawX = 0;
    int rawY = 0;
    // Both fields must be four plain digits, or the packet moves nothing.
    if (!fields::digitField(st.RxBuffer, kXPos, kRawLen, rawX) ||
        !fields::digitField(st.RxBuffer, kYPos, kRawLen, rawY)) {
        return;
    }
    st.VectX = vectorComponent(rawX);
    st.VectY = vectorComponent(rawY);
    if (st.BandIndex > 16) {
        return;
    }
    const double offset = fields::roundHalfEven(st.BandOffset[st.BandIndex]);
    if (!(offset >= std::numeric_limits<std::int16_t>::min() &&
          offset <= std::numeric_limits<std::int16_t>::max())) {
        return;  // no 16-bit offset can be formed (NaN included): the needle stays
    }
    // Without a good compass fix ("N") the needle stays relative even in absolute mode.
    const bool relative = st.CompassFlag == 'P' ? st.RelBearMode : true;
    Draw_Polar(st, st.VectX, st.VectY, static_cast<std::int16_t>(offset), relative,
               st.CompassHeading, st.AntAirMount);
}

void Draw_Polar(Station& st, std::int16_t x, std::int16_t y, std::int16_t offset, bool relative,
                std::int16_t heading, bool airMount) {
    std::int16_t m = VectorMagnitude(st, x, y);
    if (m < 0) {
        m = 0;  // off the table: direction only
    }
    // Single precision and a single wrap throughout: 3599.x comes out slightly negative.
    float a = XY_Angle(st, x, y) * 10.0f;
    int off = offset;
    if (off > 3600 || off < -3600) {
        off %= 3600;  // a sane offset never gets here; a wild one still points on the dial
    }
    a = a + static_cast<float>(off);
    if (a > kFullCircle - 1) {
        a -= kFullCircle;
    } else if (a < 0) {
        a += kFullCircle;
    }
    float b = a;
    if (!relative) {
        b = a + static_cast<float>(heading * 10);
        if (b > kFullCircle - 1) {
            b -= kFullCircle;
        }
    }
    if (airMount) {
        b = kFullCircle - b;
    }
    st.ui.setNeedleValue(static_cast<double>(b) / 10.0);
    st.ui.setNeedleColour(m == kMagnitudeCap ? kNeedleGreen : kYellow);
    st.ui.setNeedleStrength(m / 99.0);
}

}  // namespace kestrova
