#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "display/Bearing.h"
#include "display/Polar.h"
#include "tests/display/DisplayRig.h"

namespace kestrova::testing {
namespace {

TEST(DrawLine, RawFieldsToVectorWithHalvesToEven) {
    const struct {
        int raw;
        std::int16_t v;
    } cases[] = {{0, -100},  {59, -98},   {161, -92},  {773, -63},  {2048, 0},
                 {3068, 50}, {4095, 100}, {4098, 100}, {4099, 101}, {9999, 390}};
    for (const auto& c : cases) {
        DisplayRig r;
        r.st.RxBuffer = bearingPacket(raw(c.raw), "2048");
        DrawLine(r.st);
        EXPECT_EQ(r.st.VectX, c.v) << c.raw;
        r.st.RxBuffer = bearingPacket("2048", raw(c.raw));
        DrawLine(r.st);
        EXPECT_EQ(r.st.VectY, c.v) << c.raw;
    }
}

struct Needle {
    double value;
    Rgb colour;
    double strength;
};

void expectNeedle(const DisplayRig& r, const Needle& n, const std::string& what) {
    EXPECT_NEAR(r.display.needleValue, n.value, 1e-4) << what;
    EXPECT_EQ(r.display.needleColour, n.colour) << what;
    EXPECT_DOUBLE_EQ(r.display.needleStrength, n.strength) << what;
}

TEST(DrawPolar, NeedleAngleColourAndStrength) {
    const double kAngle69_70 = std::atan2(69.0, 70.0) * 180.0 / std::acos(-1.0);
    const struct {
        const char* what;
        std::int16_t x, y, offset;
        bool relative;
        std::int16_t heading;
        bool air;
        Needle n;
    } cases[] = {
        {"zero vector", 0, 0, 0, true, 0, false, {0, kYellow, 0}},
        {"zero vector, air", 0, 0, 0, true, 0, true, {360, kYellow, 0}},
        {"park", 0, 0, 0, true, 0, true, {360, kYellow, 0}},
        {"+x", 50, 0, 0, true, 0, false, {90, kYellow, 50 / 99.0}},
        {"+x, air", 50, 0, 0, true, 0, true, {270, kYellow, 50 / 99.0}},
        {"at the cap", 70, 70, 0, true, 0, false, {45, kNeedleGreen, 1}},
        {"below the cap", 69, 70, 0, true, 0, false, {kAngle69_70, kYellow, 98 / 99.0}},
        {"capped", 100, 0, 0, true, 0, false, {90, kNeedleGreen, 1}},
        {"off the table", 101, 0, 0, true, 0, false, {90, kYellow, 0}},
        {"offset wraps", 0, 50, -450, true, 0, false, {315, kYellow, 50 / 99.0}},
        {"absolute", 0, 50, 0, false, 90, false, {90, kYellow, 50 / 99.0}},
        {"absolute wraps once", 0, 50, 100, false, 355, false, {5, kYellow, 50 / 99.0}},
        {"absolute, air", 0, 50, 0, false, 90, true, {270, kYellow, 50 / 99.0}},
        // 3594.27 + 5 is above 3599: one wrap leaves it just below zero.
        {"3599.x goes negative", -1, 100, 5, true, 0, false, {-0.07294, kNeedleGreen, 1}},
        {"wild offset", 0, 50, 7300, true, 0, false, {10, kYellow, 50 / 99.0}},
    };
    for (const auto& c : cases) {
        DisplayRig r;
        Draw_Polar(r.st, c.x, c.y, c.offset, c.relative, c.heading, c.air);
        expectNeedle(r, c.n, c.what);
    }
}

// The needle and the readout of the same packet part ways in these places.
TEST(DrawLine, NeedleAndReadoutDiffer) {
    const struct {
        const char* what;
        std::string x, y;
        float offset;
        bool relative;
        char flag;
        bool air;
        double needle;
        const char* label;
    } cases[] = {
        {"flag P adds heading to both", "2048", "3068", 0, false, 'P', false, 90, "090 "},
        {"flag N: needle stays relative", "2048", "3068", 0, false, 'N', false, 0, "090 "},
        {"offset half to even vs cut", "2048", "3068", 3.5f, true, 'P', false, 0.4, "000."},
        {"offset half to even, down", "2048", "3068", 2.5f, true, 'P', false, 0.2, "000 "},
        {"air mount at north", "2048", "3068", 0, true, 'P', true, 360, "000 "},
    };
    for (const auto& c : cases) {
        DisplayRig r;
        r.st.CompassHeading = 90;
        r.st.RelBearMode = c.relative;
        r.st.CompassFlag = c.flag;
        r.st.AntAirMount = c.air;
        r.st.BandIndex = 5;
        r.st.BandOffset[5] = c.offset;
        r.st.RxBuffer = bearingPacket(c.x, c.y);
        DrawLine(r.st);
        DrawDigitalDOA(r.st);
        EXPECT_NEAR(r.display.needleValue, c.needle, 1e-4) << c.what;
        EXPECT_EQ(r.display.text(El::DOA), c.label) << c.what;
    }
}

TEST(DrawLine, BadFieldsMoveNothing) {
    const std::string bad[] = {"20X8", " 204", "+204", "-204", "2.04", "204 ", "\r\n20"};
    for (const auto& field : bad) {
        for (bool inX : {true, false}) {
            DisplayRig r;
            r.st.VectX = 7;
            r.st.VectY = -7;
            r.st.RxBuffer = inX ? bearingPacket(field, "3068") : bearingPacket("3068", field);
            DrawLine(r.st);
            EXPECT_EQ(r.st.VectX, 7) << field;
            EXPECT_EQ(r.st.VectY, -7) << field;
            EXPECT_TRUE(r.display.log.empty()) << field;
        }
    }
    DisplayRig r;
    r.st.RxBuffer = "B3068204";  // cut short
    DrawLine(r.st);
    EXPECT_EQ(r.st.VectX, 0);
    EXPECT_TRUE(r.display.log.empty());
}

TEST(DrawLine, NoOffsetLeavesTheNeedleButKeepsTheVector) {
    const struct {
        std::uint8_t band;
        float offset;
    } cases[] = {{17, 0}, {255, 0}, {5, std::nanf("")}, {5, 40000.0f}, {5, -1e30f}};
    for (const auto& c : cases) {
        DisplayRig r;
        r.st.BandIndex = c.band;
        r.st.BandOffset[5] = c.offset;
        r.st.RxBuffer = bearingPacket("3068", "2048");
        DrawLine(r.st);
        EXPECT_EQ(r.st.VectX, 50) << int(c.band) << " " << c.offset;
        EXPECT_TRUE(r.display.log.empty()) << int(c.band) << " " << c.offset;
    }
}

}  // namespace
}  // namespace kestrova::testing
