#include "display/Gps.h"

#include <algorithm>

#include "core/Numbers.h"

namespace kestrova {

namespace {
constexpr int kLastTenth = 599;  // 59.9 s: held below a full minute, nothing carried over

// ffff ten-thousandths of a minute as seconds to the tenth, halves rounding up. Worked in
// whole thousandths (ffff x 0.006 s): no binary fraction can round a half the wrong way.
std::string secondsText(const std::string& fraction) {
    const int thousandths = *DigitsValue(fraction) * 6;
    const int tenths = std::min((thousandths + 50) / 100, kLastTenth);
    return ZeroPadded(tenths / 10, 2) + "." + std::to_string(tenths % 10);
}

std::string sexagesimal(const GpsCoordinate& c) {
    return c.degrees + "\xB0 " + c.minutes + "' " + secondsText(c.fraction) + "\" " + c.hemisphere;
}

std::string decimalMinutes(const GpsCoordinate& c) {
    return c.degrees + "\xB0 " + c.minutes + "." + c.fraction + "' " + c.hemisphere;
}
}  // namespace

std::array<std::string, 4> GpsLabels(const GpsFix& fix) {
    return {sexagesimal(fix.lat), sexagesimal(fix.lon), decimalMinutes(fix.lat),
            decimalMinutes(fix.lon)};
}

void GPSDisplay(Station& st, const GpsFix& fix) {
    const auto labels = GpsLabels(fix);
    for (std::size_t i = 0; i < kGpsLabels.size(); ++i) {
        st.ui.setText(kGpsLabels[i], labels[i]);
    }
    st.positionShown = PositionOf(fix);
    if (!st.readings.empty()) {
        st.readings.positionShown({st.now(), *st.positionShown});
    }
}

void GPS_Blank(Station& st) {
    for (std::size_t i = 0; i < kGpsLabels.size(); ++i) {
        st.ui.setText(kGpsLabels[i], kGpsBlank[i]);
    }
    st.positionShown.reset();
    st.readings.positionLost();
}

}  // namespace kestrova
