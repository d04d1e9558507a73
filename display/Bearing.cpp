#include "display/Bearing.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "core/Numbers.h"
#include "display/Polar.h"

namespace kestrova {

namespace {
constexpr int kFullCircle = 3600;  // tenths of a degree
constexpr std::int16_t kWeakSignal = 25;
constexpr int kDotFrom = 3, kDotTo = 7;  // tenths the readout's dot stands for

int wrapTenths(int t) {
    int w = t % kFullCircle;
    if (w < 0) {
        w += kFullCircle;
    }
    return w;
}

bool dotted(int tenths) {
    const int d = tenths % 10;
    return d >= kDotFrom && d <= kDotTo;
}

// The band-corrected relative bearing of the vector, 0..3599 tenths; nothing when no 16-bit
// bearing can be formed.
std::optional<std::int16_t> relativeTenths(const Station& st) {
    const double angle10 =
        static_cast<double>(XY_Angle(st, st.bearing.VectX, st.bearing.VectY)) * 10.0;
    const auto t = static_cast<int>(roundHalfEven(angle10));
    // The offset's fraction is cut after adding, not rounded.
    const double corrected =
        std::trunc(t + static_cast<double>(st.antenna.BandOffset[st.status.BandIndex]));
    if (!std::isfinite(corrected)) {
        return std::nullopt;
    }
    // Any sane offset needs at most one wrap; a wild one is brought round all the same.
    double w = std::fmod(corrected, kFullCircle);
    if (w < 0) {
        w += kFullCircle;
    }
    return static_cast<std::int16_t>(w);
}

void tellShown(Station& st, int tenths) {
    if (st.readings.empty()) {
        return;
    }
    const BearingRecord& b = st.bearing;
    st.readings.bearingShown({st.now(), static_cast<std::int16_t>(tenths), !b.RelBearMode,
                              b.DOA_Tenths, b.CompassHeading, st.status.AntAirMount, b.SignalMag,
                              st.antenna.BandText[st.status.BandIndex], st.positionShown});
}
}  // namespace

void CreateTables(Station& st) {
    for (std::size_t x = 0; x < st.bearing.MagTable.size(); ++x) {
        for (std::size_t y = 0; y < st.bearing.MagTable[x].size(); ++y) {
            // At most 100^2 + 100^2 = 20000, within 16 bits; the root of a whole number is
            // never exactly halfway, so rounding has no ties.
            const auto sum = static_cast<std::int16_t>(x * x + y * y);
            st.bearing.MagTable[x][y] =
                static_cast<std::uint8_t>(std::lround(std::sqrt(static_cast<double>(sum))));
        }
    }
}

std::int16_t VectorMagnitude(const Station& st, int x, int y) {
    if (x < -100 || x > 100 || y < -100 || y > 100) {
        return -1;
    }
    const std::int16_t m =
        st.bearing
            .MagTable[static_cast<std::size_t>(std::abs(x))][static_cast<std::size_t>(std::abs(y))];
    return std::min(m, kMagnitudeCap);
}

float XY_Angle(const Station& st, float x, float y) {
    if (x == 0 && y == 0) {
        return 0;
    }
    float base = 90;
    if (y != 0) {
        // Each rounding to single precision is part of the result the readout shows.
        const auto r =
            static_cast<float>(std::atan(static_cast<double>(std::fabs(x)) / std::fabs(y)));
        base = static_cast<float>(static_cast<double>(r) / st.bearing.TwoPi * 360.0);
    }
    float angle = base;
    if (y < 0) {
        angle = x >= 0 ? 180.0f - base : 180.0f + base;
    } else if (x < 0) {
        angle = 360.0f - base;
    }
    // Only a vector a hair left of +y (or a NaN) lands here; 360 is the same direction as 0.
    if (!(angle >= 0 && angle < 360)) {
        return 0;
    }
    return angle;
}

void DrawDigitalDOA(Station& st) {
    const std::int16_t mag = VectorMagnitude(st, st.bearing.VectX, st.bearing.VectY);
    if (mag < 0 || st.status.BandIndex > 16) {
        return;  // nothing formed: readout and state stay as they were
    }
    const auto relative = relativeTenths(st);
    if (!relative) {
        return;
    }
    st.bearing.SignalMag = mag;
    st.bearing.DOA_Tenths = *relative;
    if (mag < kWeakSignal) {
        DigitalDOA_Blank(st);
        return;
    }
    int v = ABS_Angle(st, st.bearing.DOA_Tenths);
    // The mirror acts on the absolute bearing; north stays north.
    if (st.status.AntAirMount && v > 0) {
        v = kFullCircle - v;
    }
    v = wrapTenths(v);
    st.ui.setText(El::DOA, ReadoutText(v));
    tellShown(st, v);
}

std::string ReadoutText(int tenths) {
    return ZeroPadded(tenths / 10, 3) + (dotted(tenths) ? '.' : ' ');
}

double ShownDegrees(int tenths) {
    const int whole = tenths / 10;  // the readout drops the tenths but for its dot
    return whole + (dotted(tenths) ? 0.5 : 0.0);
}

std::int16_t ABS_Angle(const Station& st, const std::int16_t& Ang) {
    if (st.bearing.RelBearMode) {
        return Ang;
    }
    int h = st.bearing.CompassHeading * 10 + Ang;
    if (h > kFullCircle - 1) {
        h -= kFullCircle;
    }
    return static_cast<std::int16_t>(h);
}

void DigitalDOA_Blank(Station& st) {
    st.ui.setText(El::DOA, kBlankDOA);
}

void StopBearings(Station& st, bool directionFindingOff) {
    Draw_Polar(st, 0, 0, 0, true, 0, true);
    if (directionFindingOff) {
        st.ui.setVisible(El::FrameDFOff, true);
    }
    DigitalDOA_Blank(st);
    st.readings.bearingsStopped();
}

void CompassUpdate(Station& st, const BearingPacket& p) {
    // Anything but "000".."359" is no compass, like "999": a bearing made absolute with a
    // heading the processor no longer sends would be a stale one.
    if (p.heading != st.bearing.CompassHeading) {
        if (p.heading == kNoCompass) {
            st.bearing.RelBearMode = true;
            Draw_RelBear(st);
        } else if (st.bearing.CompassHeading == kNoCompass) {
            st.bearing.RelBearMode = false;
            Draw_RelBear(st);
        }
        st.bearing.CompassHeading = p.heading;
    }
    if (p.flag) {
        st.bearing.CompassFlag = *p.flag == 'P' ? 'P' : 'N';
    }
}

void Draw_RelBear(Station& st) {
    st.ui.setText(El::Banner_RelBear, st.bearing.RelBearMode ? "REL" : "ABS");
}

}  // namespace kestrova
