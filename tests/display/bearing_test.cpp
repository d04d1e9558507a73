#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "display/Bearing.h"
#include "tests/display/DisplayRig.h"

namespace kestrova::testing {
namespace {

struct Readout {
    std::int16_t x, y;
    float offset = 0;
    bool relative = true;
    std::int16_t heading = 999;
    bool air = false;
};

// Runs the digital readout from a vector and the station state it reads.
std::string readout(DisplayRig& r, const Readout& in) {
    r.st.VectX = in.x;
    r.st.VectY = in.y;
    r.st.BandIndex = 3;
    r.st.BandOffset[3] = in.offset;
    r.st.RelBearMode = in.relative;
    r.st.CompassHeading = in.heading;
    r.st.AntAirMount = in.air;
    DrawDigitalDOA(r.st);
    return r.display.text(El::DOA);
}

TEST(XYAngle, QuadrantsRunClockwiseFromPlusY) {
    DisplayRig r;
    const struct {
        float x, y, angle;
    } cases[] = {
        {0, 0, 0},    {0, 50, 0},   {50, 0, 90},  {0, -50, 180}, {-50, 0, 270},
        {18, 18, 45}, {70, 70, 45}, {1, -1, 135}, {-1, -1, 225}, {-1, 1, 315},
    };
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(XY_Angle(r.st, c.x, c.y), c.angle) << c.x << "," << c.y;
    }
}

TEST(XYAngle, EveryVectorInRangeAgreesWithAtan2) {
    DisplayRig r;
    for (int x = -100; x <= 100; ++x) {
        for (int y = -100; y <= 100; ++y) {
            const float a = XY_Angle(r.st, static_cast<float>(x), static_cast<float>(y));
            ASSERT_GE(a, 0.0f);
            ASSERT_LT(a, 360.0f);
            double ref = std::atan2(x, y) * 180.0 / std::acos(-1.0);
            if (ref < 0) {
                ref += 360;
            }
            ASSERT_NEAR(a, ref, 1e-4) << x << "," << y;
        }
    }
}

TEST(VectorMagnitude, TableValueCappedAt99) {
    DisplayRig r;
    const struct {
        int x, y, m;
    } cases[] = {{0, 0, 0},    {-3, 4, 5},    {18, 18, 25},  {17, 17, 24},
                 {70, 70, 99}, {69, -70, 98}, {100, 0, 99},  {-100, -100, 99},
                 {101, 0, -1}, {0, -101, -1}, {390, 390, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(VectorMagnitude(r.st, c.x, c.y), c.m) << c.x << "," << c.y;
    }
}

TEST(DrawDigitalDOA, WorkedExamples) {
    const struct {
        const char* what;
        Readout in;
        const char* label;
        std::int16_t tenths;
    } cases[] = {
        {"+x", {50, 0}, "090 ", 900},
        {"-x", {-50, 0}, "270 ", 2700},
        {"-y", {0, -50}, "180 ", 1800},
        {"+y", {0, 50}, "000 ", 0},
        {"magnitude 25 shows", {18, 18}, "045 ", 450},
        {"magnitude 24 blanks", {17, 17}, " - - -", 450},
        {"zero vector blanks", {0, 0}, " - - -", 0},
        {"offset wraps below zero", {0, 50, -450}, "315 ", 3150},
        {"offset wraps past 3599", {-50, 0, 1000}, "010 ", 100},
        {"offset fraction is cut", {0, 50, 12.7f}, "001 ", 12},
        {"cut, not floored", {0, 50, -0.5f}, "000 ", 0},
        {"negative fraction cut", {0, 50, -10.5f}, "359 ", 3590},
        {"dot from a cut offset", {0, 50, 15.9f}, "001.", 15},
        {"absolute adds the heading", {0, 50, 200, false, 350}, "010 ", 200},
        {"relative ignores it", {0, 50, 200, true, 350}, "020 ", 200},
        {"air mount mirrors", {0, 50, 1234, true, 999, true}, "236.", 1234},
        {"air mount keeps north", {0, 50, 0, true, 999, true}, "000 ", 0},
        {"mirror after heading", {0, 50, 200, false, 350, true}, "350 ", 200},
        {"wild offset still a bearing", {0, 50, 7300}, "010 ", 100},
    };
    for (const auto& c : cases) {
        DisplayRig r;
        EXPECT_EQ(readout(r, c.in), c.label) << c.what;
        EXPECT_EQ(r.st.DOA_Tenths, c.tenths) << c.what;
    }
}

// The readout shows whole degrees, never rounded up, and a dot for tenths 3..7.
TEST(DrawDigitalDOA, TenthsRuleOverEveryBearing) {
    DisplayRig r;
    for (int v = 0; v < 3600; ++v) {
        const std::string got = readout(r, {0, 50, static_cast<float>(v)});
        std::string want = std::to_string(v / 10);
        want.insert(0, 3 - want.size(), '0');
        want += (v % 10 >= 3 && v % 10 <= 7) ? '.' : ' ';
        ASSERT_EQ(got, want) << v;
    }
}

TEST(DrawDigitalDOA, NothingChangesWhenNoValueCanBeFormed) {
    const struct {
        const char* what;
        std::int16_t x;
        std::uint8_t band;
        float offset;
    } cases[] = {
        {"component beyond 100", 101, 3, 0},
        {"band beyond 16", 50, 17, 0},
        {"offset not a number", 50, 3, std::nanf("")},
        {"offset infinite", 50, 3, INFINITY},
    };
    for (const auto& c : cases) {
        DisplayRig r;
        r.display.setText(El::DOA, "123.");
        r.st.SignalMag = 77;
        r.st.DOA_Tenths = 1234;
        r.st.VectX = c.x;
        r.st.VectY = 0;
        r.st.BandIndex = c.band;
        r.st.BandOffset[3] = c.offset;
        DrawDigitalDOA(r.st);
        EXPECT_EQ(r.display.text(El::DOA), "123.") << c.what;
        EXPECT_EQ(r.st.SignalMag, 77) << c.what;
        EXPECT_EQ(r.st.DOA_Tenths, 1234) << c.what;
    }
}

TEST(CompassUpdate, SwitchesModeOnlyAtTheEdgesOf999) {
    struct Step {
        std::string field;  // positions 13-16
        std::int16_t heading;
        bool relative;
        char flag;
        std::string banner;  // Banner_RelBear drawn by this step, "" for none
    };
    const std::vector<Step> steps = {
        {"045P", 45, false, 'P', "ABS"},
        {"046P", 46, false, 'P', ""},
        {"046X", 46, false, 'N', ""},
        {"999P", 999, true, 'P', "REL"},
        {"999 ", 999, true, 'N', ""},
        {"000P", 0, false, 'P', "ABS"},
        {"359P", 359, false, 'P', ""},
        // Not headings: the compass state stays; the flag is still taken.
        {"360P", 359, false, 'P', ""},
        {"998N", 359, false, 'N', ""},
        {" 45P", 359, false, 'P', ""},
        {"+45P", 359, false, 'P', ""},
        {"-45P", 359, false, 'P', ""},
        {"4.5P", 359, false, 'P', ""},
        {"04AP", 359, false, 'P', ""},
        {"\r\n\rP", 359, false, 'P', ""},
    };
    DisplayRig r;
    for (const auto& s : steps) {
        const std::size_t logBefore = r.display.log.size();
        r.st.RxBuffer = bearingPacket("3068", "2048", "S42", s.field);
        CompassUpdate(r.st);
        EXPECT_EQ(r.st.CompassHeading, s.heading) << s.field;
        EXPECT_EQ(r.st.RelBearMode, s.relative) << s.field;
        EXPECT_EQ(r.st.CompassFlag, s.flag) << s.field;
        std::vector<std::string> drawn(r.display.log.begin() + logBefore, r.display.log.end());
        if (s.banner.empty()) {
            EXPECT_TRUE(drawn.empty()) << s.field;
        } else {
            EXPECT_EQ(drawn, std::vector<std::string>{"text Banner_RelBear=" + s.banner})
                << s.field;
        }
    }
}

TEST(CompassUpdate, ShortBufferChangesNothing) {
    DisplayRig r;
    r.st.RxBuffer = "B30682048S42";
    CompassUpdate(r.st);
    EXPECT_EQ(r.st.CompassHeading, 999);
    EXPECT_TRUE(r.st.RelBearMode);
    EXPECT_EQ(r.st.CompassFlag, 'P');
    EXPECT_TRUE(r.display.log.empty());
}

}  // namespace
}  // namespace kestrova::testing
