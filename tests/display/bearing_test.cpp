#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "display/Bearing.h"
#include "display/Meters.h"
#include "display/Polar.h"
#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

// Every vector in range and one step beyond, against atan2 and the rounded length.
TEST(Bearing, AngleAndMagnitudeOfEveryVector) {
    StationRig r;
    for (int x = -101; x <= 101; ++x) {
        for (int y = -101; y <= 101; ++y) {
            const float a = XY_Angle(r.st, static_cast<float>(x), static_cast<float>(y));
            const double ref = std::fmod(std::atan2(x, y) * 180 / std::numbers::pi + 360, 360);
            ASSERT_TRUE(a >= 0.0f && a < 360.0f) << x << "," << y;
            ASSERT_NEAR(a, ref, 1e-4) << x << "," << y;
            const long m = std::min(99L, std::lround(std::hypot(x, y)));
            ASSERT_EQ(VectorMagnitude(r.st, x, y), std::abs(x) > 100 || std::abs(y) > 100 ? -1 : m)
                << x << "," << y;
        }
    }
    EXPECT_EQ(XY_Angle(r.st, -1e-6f, 100.0f), 0.0f) << "a hair left of north is north";
}

}  // namespace
}  // namespace kestrova::testing
