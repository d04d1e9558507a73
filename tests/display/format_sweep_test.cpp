// The texts formatted from numbers with integer arithmetic against the decimal-text formatting
// they replace, over every value they can take.
#include <gtest/gtest.h>

#include "core/FormatDot.h"
#include "core/Numbers.h"
#include "display/Bearing.h"
#include "display/Gps.h"

namespace kestrova::testing {
namespace {

TEST(FormatSweep, ReadoutOfEveryTenth) {
    for (int v = 0; v < 3600; ++v) {
        std::string s = FormatDot(floatText(static_cast<float>(v) / 10.0f), "000.0");
        const char d = s.back();
        s.resize(s.size() - 2);
        s += (d >= '3' && d <= '7') ? '.' : ' ';
        ASSERT_EQ(ReadoutText(v), s) << v;
    }
}

TEST(FormatSweep, GpsSecondsOfEveryFraction) {
    for (int f = 0; f < 10000; ++f) {
        const int thousandths = f * 6;
        std::string exact = std::to_string(thousandths / 1000) + ".";
        exact += ZeroPadded(thousandths % 1000, 3);
        std::string t = FormatDot(exact, "00.0");
        if (t == "60.0") {
            t = "59.9";
        }
        const GpsFix fix{{'N', "10", "20", ZeroPadded(f, 4)}, {'E', "030", "40", "0000"}};
        ASSERT_EQ(GpsLabels(fix)[0], "10\xB0 20' " + t + "\" N") << f;
    }
}

TEST(FormatSweep, TimeOfDayOfEverySecond) {
    for (int s = 0; s < 86400; ++s) {
        const LocalTime t{2024, 5, 1, s / 3600, s / 60 % 60, s % 60, 0};
        ASSERT_EQ(FormatTimeOfDay(t),
                  FormatDot(std::to_string(t.hour) + ":" + std::to_string(t.minute) + ":" +
                                std::to_string(t.second),
                            "hh:mm:ss"))
            << s;
    }
}

}  // namespace
}  // namespace kestrova::testing
