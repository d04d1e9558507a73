#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <string>
#include <tuple>
#include <vector>

#include "display/Bearing.h"
#include "display/Meters.h"
#include "display/Polar.h"
#include "status/MagTable.h"
#include "tests/display/DisplayRig.h"
#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

// Every vector in range and one step beyond, against atan2 and the rounded length.
TEST(Bearing, AngleAndMagnitudeOfEveryVector) {
    DisplayRig r;
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
}

// x, y, offset, mode, heading -> needle value and readout text, the same with the antenna
// air-mounted, DOA_Tenths, magnitude (the needle is green only at 99; its length is magnitude/99).
// In order: weak signal (25 shows, 24 blanks); 10.0 and 350.0 degree vectors corrected both ways;
// wraps; the readout cuts the offset's fraction where the needle halves it to even; a dot for 0.5;
// absolute mode adds the heading, relative ignores it; without a fix (N) the needle stays relative;
// the magnitude cap; off the table the needle shows direction only and the readout stays; one wrap
// leaves 3594.27 + 5 just below zero. The mirror keeps north.
TEST(Bearing, NeedleAndReadoutOfAPacket) {
    const std::tuple<int, int, float, char, int, double, const char*, double, const char*, int, int>
        cases[] = {{18, 18, 0, 'R', 999, 45, "045 ", 315, "315 ", 450, 25},
                   {17, 17, 0, 'R', 999, 45, " - - -", 315, " - - -", 450, 24},
                   {15, 85, -450, 'R', 999, 325.00798, "325 ", 34.99202, "035 ", 3250, 86},
                   {-15, 85, 450, 'R', 999, 34.99202, "035 ", 325.00798, "325 ", 350, 86},
                   {0, 50, -450, 'R', 999, 315, "315 ", 45, "045 ", 3150, 50},
                   {0, 50, 7300, 'R', 999, 10, "010 ", 350, "350 ", 100, 50},
                   {0, 50, 12.7f, 'R', 999, 1.3, "001 ", 358.7, "358 ", 12, 50},
                   {0, 50, -0.5f, 'R', 999, 0, "000 ", 360, "000 ", 0, 50},
                   {0, 50, 2.5f, 'R', 999, 0.2, "000 ", 359.8, "359 ", 2, 50},
                   {0, 50, 5, 'R', 999, 0.5, "000.", 359.5, "359.", 5, 50},
                   {0, 50, 1234, 'R', 999, 123.4, "123.", 236.6, "236.", 1234, 50},
                   {0, 50, 200, 'A', 350, 10, "010 ", 350, "350 ", 200, 50},
                   {0, 50, 200, 'R', 350, 20, "020 ", 340, "340 ", 200, 50},
                   {0, 50, 0, 'A', 90, 90, "090 ", 270, "270 ", 0, 50},
                   {0, 50, 0, 'N', 90, 0, "090 ", 360, "270 ", 0, 50},
                   {70, 70, 0, 'R', 999, 45, "045 ", 315, "315 ", 450, 99},
                   {69, 70, 0, 'R', 999, 44.58781, "044.", 315.41219, "315.", 446, 98},
                   {101, 0, 0, 'R', 999, 90, "", 270, "", 0, 0},
                   {-1, 100, 5, 'R', 999, -0.07294, "359 ", 360.07294, "000 ", 3599, 99}};
    for (const auto& [x, y, off, mode, heading, value, text, airValue, airText, tenths, m] :
         cases) {
        for (const bool air : {false, true}) {
            SCOPED_TRACE(::testing::Message() << x << ' ' << y << ' ' << off << mode << air);
            DisplayRig r;
            EXPECT_EQ(r.bearing(x, y, off, mode, heading, air), air ? airText : text);
            EXPECT_EQ(r.st.bearing.DOA_Tenths, tenths);
            EXPECT_NEAR(r.display.needleValue, air ? airValue : value, 1e-4);
            EXPECT_EQ(r.display.needleColour, m == 99 ? kNeedleGreen : kYellow);
            EXPECT_DOUBLE_EQ(r.display.needleStrength, m / 99.0);
        }
    }
    DisplayRig r;
    Draw_Polar(r.st, 0, 0, 0, true, 0, true);  // the park call
    EXPECT_EQ(std::tuple(r.display.needleValue, r.display.needleColour, r.display.needleStrength),
              std::tuple(360.0, kYellow, 0.0));
}

// Every tenth: whole degrees never rounded up, tenths 3..7 a dot (123.2 "123 ", 123.3 and 123.7
// "123.", 123.8 "123 ").
TEST(Bearing, TenthsRuleOverEveryBearing) {
    DisplayRig r;
    for (int v = 0; v < 3600; ++v) {
        const char mark = (v % 10 >= 3 && v % 10 <= 7) ? '.' : ' ';
        ASSERT_EQ(r.bearing(0, 50, v), DisplayRig::raw(v / 10).substr(1) + mark) << v;
    }
}

// x, offset, band: a component beyond 100, a band beyond 16, an offset not finite.
TEST(Bearing, ReadoutStaysWhenNoValueCanBeFormed) {
    const std::tuple<int, float, int> cases[] = {
        {101, 0, 5}, {50, 0, 17}, {50, NAN, 5}, {50, INFINITY, 5}};
    for (const auto& [x, offset, band] : cases) {
        SCOPED_TRACE(::testing::Message() << x << " " << offset << " " << band);
        DisplayRig r;
        r.display.setText(El::DOA, "123.");
        r.st.bearing.SignalMag = 77;
        r.st.bearing.DOA_Tenths = 1234;
        EXPECT_EQ(r.bearing(x, 0, offset, 'R', 999, false, band), "123.");
        EXPECT_EQ(r.st.bearing.SignalMag, 77);
        EXPECT_EQ(r.st.bearing.DOA_Tenths, 1234);
    }
}

TEST(DrawLine, RawFieldsToVectorWithHalvesToEven) {
    const int cases[][2] = {{0, -100},  {161, -92},  {773, -63},  {2048, 0},
                            {3068, 50}, {4095, 100}, {4099, 101}, {9999, 390}};
    for (const auto& [in, v] : cases) {
        DisplayRig r;
        r.st.link.RxBuffer = DisplayRig::packet(DisplayRig::raw(in), DisplayRig::raw(in));
        DrawLine(r.st);
        EXPECT_EQ(r.st.bearing.VectX, v) << in;
        EXPECT_EQ(r.st.bearing.VectY, v) << in;
    }
}

// Packet, band, offset. A damaged packet moves nothing; without a usable offset a good packet's
// vector is taken, but the needle stays.
TEST(DrawLine, BadFieldsOrNoOffsetDrawNothing) {
    const std::string good = DisplayRig::packet("3068", "2048");
    std::vector<std::tuple<std::string, int, float>> cases = {
        {"B3068204", 5, 0}, {good, 17, 0}, {good, 5, NAN}, {good, 5, 40000}, {good, 5, -1e30f}};
    for (const char* field : {"20X8", " 204", "-204", "2.04", "204 "}) {
        cases.emplace_back(DisplayRig::packet(field, "3068"), 5, 0);
        cases.emplace_back(DisplayRig::packet("3068", field), 5, 0);
    }
    for (const auto& [packet, band, offset] : cases) {
        SCOPED_TRACE(::testing::Message() << packet << " " << band << " " << offset);
        DisplayRig r;
        r.st.bearing.VectX = 7;
        r.st.bearing.VectY = -7;
        r.st.status.BandIndex = band;
        r.st.antenna.BandOffset[5] = offset;
        r.st.link.RxBuffer = packet;
        DrawLine(r.st);
        EXPECT_EQ(r.st.bearing.VectX, packet == good ? 50 : 7);
        EXPECT_EQ(r.st.bearing.VectY, packet == good ? 0 : -7);
        EXPECT_TRUE(r.display.log.empty());
    }
}

// Positions 13-16 -> heading, flag, Banner_RelBear drawn ("" for none). Anything but
// "000".."359" is no compass, like "999", so no stale heading stays in use; then fields cut
// short.
TEST(CompassUpdate, SwitchesModeOnlyAtTheEdgesOfAValidHeading) {
    const std::tuple<const char*, int, char, const char*> steps[] = {
        {"045P", 45, 'P', "ABS"},  {"046X", 46, 'N', ""},     {"999P", 999, 'P', "REL"},
        {"999 ", 999, 'N', ""},    {"000P", 0, 'P', "ABS"},   {"359P", 359, 'P', ""},
        {"360P", 999, 'P', "REL"}, {"100P", 100, 'P', "ABS"}, {"998N", 999, 'N', "REL"},
        {"045P", 45, 'P', "ABS"},  {" 45P", 999, 'P', "REL"}, {"120P", 120, 'P', "ABS"},
        {"-45P", 999, 'P', "REL"}, {"4.5P", 999, 'P', ""},    {"04AP", 999, 'P', ""},
        {"", 999, 'P', ""},        {"04", 999, 'P', ""},      {"045", 45, 'P', "ABS"}};
    DisplayRig r;
    for (const auto& [field, heading, flag, banner] : steps) {
        r.display.log.clear();
        r.st.link.RxBuffer = std::string("B30682048S42") + field;
        CompassUpdate(r.st);
        EXPECT_EQ(r.st.bearing.CompassHeading, heading) << field;
        EXPECT_EQ(r.st.bearing.RelBearMode, heading == 999) << field;
        EXPECT_EQ(r.st.bearing.CompassFlag, flag) << field;
        const std::string drawn = std::string("text Banner_RelBear=") + banner;
        EXPECT_EQ(r.display.log, std::vector<std::string>(*banner ? 1 : 0, drawn)) << field;
    }
}

// S meter?, reading, twips per pixel -> line ends, colour. The S bar rises 1.43 pixels a step;
// the tune mark is 4 pixels centred 1.38 a step + 3 up; halves to even. Past an end: pinned
// there, in red. The pixel size is read at every call, and an unusable one leaves the line.
TEST(DrawMeter, PixelHeightsAndColours) {
    const std::tuple<bool, int, double, int, int, Rgb> cases[] = {
        {1, 0, 15, 2200, 2200, kYellow},  {1, 50, 15, 2200, 1120, kYellow},
        {1, 98, 15, 2200, 100, kYellow},  {1, 99, 15, 2200, 70, kRed},
        {1, 150, 15, 2200, 70, kRed},     {1, 50, 12.5, 2200, 1300, kYellow},
        {0, 0, 15, 2185, 2125, kRed},     {0, 1, 15, 2170, 2110, kYellow},
        {0, 49, 15, 1165, 1105, kYellow}, {0, 75, 15, 640, 580, kYellow},
        {0, 98, 15, 160, 100, kYellow},   {0, 99, 15, 130, 70, kRed},
        {0, -5, 15, 2185, 2125, kRed}};
    DisplayRig r;
    for (const auto& [s, value, twips, y1, y2, colour] : cases) {
        SCOPED_TRACE(::testing::Message() << (s ? "S " : "tune ") << value << " at " << twips);
        r.display.twipsPerPixel = twips;
        r.display.lines = {};
        Draw_Meter(r.st, s, value);
        const LineState& l = r.display.line(s ? El::SMeter : El::TMeter);
        EXPECT_EQ((std::array{l.x1, l.y1, l.x2, l.y2}),
                  (std::array{s ? 250 : 600, y1, s ? 250 : 600, y2}));
        EXPECT_EQ(l.colour, colour);
        EXPECT_FALSE(r.display.line(s ? El::TMeter : El::SMeter).set);
    }
    r.display.twipsPerPixel = 0;
    Draw_Meter(r.st, false, 10);
    EXPECT_EQ(r.display.line(El::TMeter).y1, 2185);
}

TEST(StationPath, BearingPacketsFromTheLineToNeedleReadoutAndMeter) {
    StationRig r;
    CreateTables(r.st);
    // x 3068 -> VectX 50, y 2048 -> VectY 0: due right of the antenna, magnitude 50.
    const std::string packet = DisplayRig::packet("3068", "2048", "045P");
    for (int i = 1; i <= 24; ++i) {
        r.feed(packet);
        ASSERT_TRUE(r.st.link.RxBuffer.empty()) << i;
        // Every packet turns the needle.
        ASSERT_EQ(std::count(r.display.log.begin(), r.display.log.end(), "needle"), i);
        // The compass is taken after the needle has turned on the 19th; 90 + heading 45.
        ASSERT_DOUBLE_EQ(r.display.needleValue, i <= 19 ? 90 : 135) << i;
        ASSERT_EQ(r.display.text(El::DOA), i < 24 ? "" : "135 ") << i;
        ASSERT_EQ(r.display.line(El::SMeter).set, i >= 3) << i;
    }
    EXPECT_DOUBLE_EQ(r.display.needleStrength, 50 / 99.0);
    EXPECT_EQ(r.display.needleColour, kYellow);
    EXPECT_EQ(r.display.text(El::Banner_RelBear), "ABS");
    EXPECT_EQ(r.display.line(El::SMeter).y2, 2200 - 15 * 60);  // 42 x 1.43 = 60.06
    EXPECT_EQ(r.display.line(El::SMeter).colour, kYellow);
}

}  // namespace
}  // namespace kestrova::testing
