#include <gtest/gtest.h>

#include <array>

#include "display/Meters.h"
#include "tests/display/DisplayRig.h"

namespace kestrova::testing {
namespace {

TEST(DrawMeter, PixelHeightsAndColoursAt15TwipsPerPixel) {
    const struct {
        bool s;
        int value;
        int y1, y2;
        Rgb colour;
    } cases[] = {
        {true, 0, 2200, 2200, kYellow},    // no bar
        {true, 50, 2200, 1120, kYellow},   // 71.5 -> 72 pixels
        {true, 98, 2200, 100, kYellow},    // 140 pixels
        {true, 99, 2200, 70, kRed},        // 142 pixels: full scale
        {false, 0, 2185, 2125, kRed},      // centred 3 pixels up
        {false, 1, 2170, 2110, kYellow},   // 4.38 -> 4
        {false, 25, 1660, 1600, kYellow},  // 37.5 -> 38
        {false, 49, 1165, 1105, kYellow},  // 71: mid scale
        {false, 98, 160, 100, kYellow},    // 138.24 -> 138
        {false, 99, 130, 70, kRed},        // 139.62 -> 140
        {true, 150, 2200, 70, kRed},       // past the end: pinned there
        {false, -5, 2185, 2125, kRed},
    };
    for (const auto& c : cases) {
        DisplayRig r;
        Draw_Meter(r.st, c.s, c.value);
        const El mine = c.s ? El::SMeter : El::TMeter;
        const El other = c.s ? El::TMeter : El::SMeter;
        const LineState& l = r.display.line(mine);
        const int x = c.s ? 250 : 600;
        EXPECT_EQ((std::array{l.x1, l.y1, l.x2, l.y2}), (std::array{x, c.y1, x, c.y2}))
            << c.s << " " << c.value;
        EXPECT_EQ(l.colour, c.colour) << c.s << " " << c.value;
        EXPECT_FALSE(r.display.line(other).set);
    }
}

// Every reading against exact decimal arithmetic, halves to even.
TEST(DrawMeter, EveryReadingMatchesExactRounding) {
    auto halfEven = [](int num) {  // num / 100 rounded
        int q = num / 100;
        const int rem = num % 100;
        if (rem > 50 || (rem == 50 && q % 2 == 1)) {
            ++q;
        }
        return q;
    };
    DisplayRig r;
    for (int v = 0; v <= 99; ++v) {
        Draw_Meter(r.st, true, v);
        const int ps = halfEven(v * 143);
        ASSERT_EQ(r.display.line(El::SMeter).y2, 2200 - 15 * ps) << v;
        ASSERT_EQ(r.display.line(El::SMeter).colour, v == 99 ? kRed : kYellow) << v;
        Draw_Meter(r.st, false, v);
        const int pt = halfEven(v * 138 + 300);
        ASSERT_EQ(r.display.line(El::TMeter).y1, 2200 - 15 * (pt - 2)) << v;
        ASSERT_EQ(r.display.line(El::TMeter).colour, (v == 0 || v == 99) ? kRed : kYellow) << v;
    }
}

TEST(DrawMeter, PixelSizeIsReadAtEveryCall) {
    DisplayRig r;
    Draw_Meter(r.st, true, 50);
    EXPECT_EQ(r.display.line(El::SMeter).y2, 2200 - 15 * 72);
    r.display.twipsPerPixel = 12;
    Draw_Meter(r.st, true, 50);
    EXPECT_EQ(r.display.line(El::SMeter).y2, 2200 - 12 * 72);
    r.display.twipsPerPixel = 0;  // unusable: the bar stays
    Draw_Meter(r.st, true, 10);
    EXPECT_EQ(r.display.line(El::SMeter).y2, 2200 - 12 * 72);
}

}  // namespace
}  // namespace kestrova::testing
