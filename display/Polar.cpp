#include "display/Polar.h"

#include <algorithm>
#include <limits>

#include "core/Numbers.h"
#include "display/Bearing.h"

namespace kestrova {

namespace {
constexpr float kFullCircle = 3600;  // tenths of a degree

std::int16_t vectorComponent(int raw) {
    // 0..9999 gives -100..390: always a 16-bit value.
    return static_cast<std::int16_t>(roundHalfEven((raw - 2048) / 20.4));
}
}  // namespace

void DrawLine(Station& st, const BearingPacket& p) {
    // Both fields must be four plain digits, or the packet moves nothing.
    if (!p.rawX || !p.rawY) {
        return;
    }
    st.bearing.VectX = vectorComponent(*p.rawX);
    st.bearing.VectY = vectorComponent(*p.rawY);
    if (st.status.BandIndex > 16) {
        return;
    }
    const double offset = roundHalfEven(st.antenna.BandOffset[st.status.BandIndex]);
    if (!(offset >= std::numeric_limits<std::int16_t>::min() &&
          offset <= std::numeric_limits<std::int16_t>::max())) {
        return;  // no 16-bit offset can be formed (NaN included): the needle stays
    }
    // Without a good compass fix ("N") the needle stays relative even in absolute mode.
    const bool relative = st.bearing.CompassFlag == 'P' ? st.bearing.RelBearMode : true;
    Draw_Polar(st, st.bearing.VectX, st.bearing.VectY, static_cast<std::int16_t>(offset), relative,
               st.bearing.CompassHeading, st.status.AntAirMount);
}

void Draw_Polar(Station& st, std::int16_t x, std::int16_t y, std::int16_t offset, bool relative,
                std::int16_t heading, bool airMount) {
    // Off the table (-1): direction only.
    const std::int16_t m = std::max<std::int16_t>(VectorMagnitude(st, x, y), 0);
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
