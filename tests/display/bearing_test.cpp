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

std::string raw(long v) {
    return std::to_string(10000 + v).substr(1);  // 0..9999
}

// Puts the packet of vector (x, y) through the needle, then the readout, and returns the
// readout. Mode R is relative, A absolute, N absolute without a good compass fix.
std::string bearing(StationRig& r, int x, int y, float offset = 0, char mode = 'R',
                    int heading = 999, bool air = false, std::uint8_t band = 5) {
    r.st.status.BandIndex = band;
    r.st.antenna.BandOffset[5] = offset;
    r.st.bearing.RelBearMode = mode == 'R';
    r.st.bearing.CompassFlag = mode == 'N' ? 'N' : 'P';
    r.st.bearing.CompassHeading = static_cast<std::int16_t>(heading);
    r.st.status.AntAirMount = air;
    DrawLine(r.st, ParseBearingPacket("B" + raw(std::lround(2048 + 20.4 * x)) +
                                      raw(std::lround(2048 + 20.4 * y)) + "S42999P\r\n"));
    DrawDigitalDOA(r.st);
    return r.window.text(El::DOA);
}

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

// x, y, offset, mode, heading -> needle value and readout text, the same with the antenna
// air-mounted, DOA_Tenths, magnitude (the needle is green only at 99; its length is magnitude/99).
// In order: weak signal (25 shows, 24 blanks); 10.0 and 350.0 degree vectors corrected both ways;
// wraps; the readout cuts the offset's fraction where the needle halves it to even; a dot for
// tenths 3 to 7, a blank for 0 to 2 and 8 to 9;
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
                   {0, 50, 1233, 'R', 999, 123.3, "123.", 236.7, "236.", 1233, 50},
                   {0, 50, 1238, 'R', 999, 123.8, "123 ", 236.2, "236 ", 1238, 50},
                   {0, 50, 32767, 'R', 999, 36.7, "036.", 323.3, "323.", 367, 50},
                   {0, 50, -32768, 'R', 999, 323.2, "323 ", 36.8, "036 ", 3232, 50},
                   {0, 50, 200, 'A', 350, 10, "010 ", 350, "350 ", 200, 50},
                   {0, 50, 200, 'R', 350, 20, "020 ", 340, "340 ", 200, 50},
                   {0, 50, 0, 'A', 90, 90, "090 ", 270, "270 ", 0, 50},
                   {0, 50, 0, 'N', 90, 0, "090 ", 360, "270 ", 0, 50},
                   {70, 70, 0, 'R', 999, 45, "045 ", 315, "315 ", 450, 99},
                   {69, 70, 0, 'R', 999, 44.58781, "044.", 315.41219, "315.", 446, 98},
                   {101, 0, 0, 'R', 999, 90, "", 270, "", 0, 0},
                   {0, 0, 0, 'R', 999, 0, " - - -", 360, " - - -", 0, 0},
                   {-1, 100, 5, 'R', 999, -0.07294, "359 ", 360.07294, "000 ", 3599, 99}};
    for (const auto& [x, y, off, mode, heading, value, text, airValue, airText, tenths, m] :
         cases) {
        for (const bool air : {false, true}) {
            SCOPED_TRACE(::testing::Message() << x << ' ' << y << ' ' << off << mode << air);
            StationRig r;
            EXPECT_EQ(bearing(r, x, y, off, mode, heading, air), air ? airText : text);
            EXPECT_EQ(r.st.bearing.DOA_Tenths, tenths);
            EXPECT_NEAR(r.window.needle.value, air ? airValue : value, 1e-4);
            EXPECT_EQ(r.window.needle.colour, m == 99 ? kNeedleGreen : kYellow);
            EXPECT_DOUBLE_EQ(r.window.needle.strength, m / 99.0);
        }
    }
    StationRig r;
    Draw_Polar(r.st, 0, 0, 0, true, 0, true);  // the park call
    EXPECT_EQ(std::tuple(r.window.needle.value, r.window.needle.colour, r.window.needle.strength),
              std::tuple(360.0, kYellow, 0.0));
    // Wild offsets, taken modulo a circle, and one wrap: a hair left of north stays there.
    const std::tuple<std::int16_t, std::int16_t, std::int16_t, double> wild[] = {
        {-1, 30000, 3601, 0.098},
        {-1, 30000, -3600, 359.998},
        {0, 50, -3601, 359.9},
        {0, 50, 3599, 359.9}};
    for (const auto& [x, y, offset, value] : wild) {
        Draw_Polar(r.st, x, y, offset, true, 0, false);
        EXPECT_NEAR(r.window.needle.value, value, 1e-3) << offset;
    }
    Draw_Polar(r.st, 0, 50, 9, false, 359, false);  // 0.9 + 359 stays short of a full circle
    EXPECT_NEAR(r.window.needle.value, 359.9, 1e-3);
}

TEST(DrawLine, RawFieldsToVectorWithHalvesToEven) {
    const int cases[][2] = {{0, -100},  {161, -92},  {773, -63},  {2048, 0},
                            {3068, 50}, {4095, 100}, {4099, 101}, {9999, 390}};
    for (const auto& [in, v] : cases) {
        StationRig r;
        DrawLine(r.st, ParseBearingPacket("B" + raw(in) + raw(in) + "S42999P\r\n"));
        EXPECT_EQ(r.st.bearing.VectX, v) << in;
        EXPECT_EQ(r.st.bearing.VectY, v) << in;
    }
}

// Packet, band, offset. A damaged packet moves nothing; without a usable offset a good packet's
// vector is taken, but the needle stays, and so does the readout without a band or a finite offset.
TEST(DrawLine, BadFieldsOrNoOffsetDrawNothing) {
    const std::string good = "B30682048S42999P\r\n";
    const std::tuple<std::string, int, float> cases[] = {{"B3068204", 5, 0},
                                                         {"B3068204 S42999P\r\n", 5, 0},
                                                         {"B30X82048S42999P\r\n", 5, 0},
                                                         {good, 17, 0},
                                                         {good, 5, NAN},
                                                         {good, 5, INFINITY},
                                                         {good, 5, 40000},
                                                         {good, 5, -1e30f},
                                                         {good, 5, 32768},
                                                         {good, 5, -32769}};
    for (const auto& [packet, band, offset] : cases) {
        SCOPED_TRACE(::testing::Message() << packet << " " << band << " " << offset);
        StationRig r;
        r.st.bearing.VectX = 7;
        r.st.bearing.VectY = -7;
        r.st.bearing.SignalMag = 77;
        r.st.bearing.DOA_Tenths = 1234;
        r.st.status.BandIndex = static_cast<std::uint8_t>(band);
        r.st.antenna.BandOffset[5] = offset;
        DrawLine(r.st, ParseBearingPacket(packet));
        EXPECT_EQ(r.st.bearing.VectX, packet == good ? 50 : 7);
        EXPECT_EQ(r.st.bearing.VectY, packet == good ? 0 : -7);
        if (band > 16 || !std::isfinite(offset)) {  // nor can the readout form a value
            DrawDigitalDOA(r.st);
            EXPECT_EQ(std::tuple(r.st.bearing.SignalMag, r.st.bearing.DOA_Tenths),
                      std::tuple(77, 1234));
        }
        EXPECT_EQ(r.window.takeLog(), "");
    }
    StationRig r;  // band 16 is the last a value is formed for, and the needle drawn for
    EXPECT_EQ(bearing(r, 50, 0, 0, 'R', 999, false, 16), "090 ");
    EXPECT_EQ(r.window.needle.value, 90.0);
}

// Heading field -> heading, flag, Banner_RelBear drawn ("" for none): the mode switches only at
// the edges of a valid heading; then fields cut short.
TEST(CompassUpdate, SwitchesModeOnlyAtTheEdgesOfAValidHeading) {
    const std::tuple<const char*, int, char, const char*> steps[] = {
        {"045P", 45, 'P', "ABS"},  {"046X", 46, 'N', ""},     {"999P", 999, 'P', "REL"},
        {"999 ", 999, 'N', ""},    {"000P", 0, 'P', "ABS"},   {"359P", 359, 'P', ""},
        {"360P", 999, 'P', "REL"}, {"100P", 100, 'P', "ABS"}, {"998N", 999, 'N', "REL"},
        {"045P", 45, 'P', "ABS"},  {" 45P", 999, 'P', "REL"}, {"120P", 120, 'P', "ABS"},
        {"-45P", 999, 'P', "REL"}, {"4.5P", 999, 'P', ""},    {"04AP", 999, 'P', ""},
        {"", 999, 'P', ""},        {"04", 999, 'P', ""},      {"045", 45, 'P', "ABS"}};
    StationRig r;
    for (const auto& [field, heading, flag, banner] : steps) {
        CompassUpdate(r.st, ParseBearingPacket(std::string("B30682048S42") + field));
        EXPECT_EQ(r.st.bearing.CompassHeading, heading) << field;
        EXPECT_EQ(r.st.bearing.RelBearMode, heading == 999) << field;
        EXPECT_EQ(r.st.bearing.CompassFlag, flag) << field;
        EXPECT_EQ(r.window.takeLog(), *banner ? std::string("Banner_RelBear=") + banner : "")
            << field;
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
        {1, -1, 15, 2200, 2200, kYellow}, {0, -5, 15, 2185, 2125, kRed}};
    StationRig r;
    for (const auto& [s, value, twips, y1, y2, colour] : cases) {
        SCOPED_TRACE(::testing::Message() << (s ? "S " : "tune ") << value << " at " << twips);
        r.window.twipsPerPixel = twips;
        r.window.at(El::SMeter).line = r.window.at(El::TMeter).line = {};
        Draw_Meter(r.st, s, value);
        const LineState& l = r.window.line(s ? El::SMeter : El::TMeter);
        EXPECT_EQ((std::array{l.x1, l.y1, l.x2, l.y2}),
                  (std::array{s ? 250 : 600, y1, s ? 250 : 600, y2}));
        EXPECT_EQ(l.colour, colour);
        EXPECT_FALSE(r.window.line(s ? El::TMeter : El::SMeter).set);
    }
    r.window.twipsPerPixel = 0;
    Draw_Meter(r.st, false, 10);
    EXPECT_EQ(r.window.line(El::TMeter).y1, 2185);
}

}  // namespace
}  // namespace kestrova::testing
