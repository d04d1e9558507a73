#include <gtest/gtest.h>

#include <array>
#include <string>

#include "display/Gps.h"
#include "tests/display/DisplayRig.h"

namespace kestrova::testing {
namespace {

using Labels = std::array<std::string, 4>;

Labels labels(const DisplayRig& r) {
    return {r.display.text(El::Banner_GPS_Sexa_Lat), r.display.text(El::Banner_GPS_Sexa_Lon),
            r.display.text(El::Banner_GPS_Decimal_Lat), r.display.text(El::Banner_GPS_Decimal_Lon)};
}

// The labels for a GPS line put at the head of the buffer (with more packets after it).
Labels show(const std::string& line, const std::string& after = "B30682048S42045P\r\n") {
    DisplayRig r;
    r.st.RxBuffer = line + after;
    GPSDisplay(r.st);
    return labels(r);
}

TEST(GPSDisplay, WorkedExample) {
    const Labels want = {"33\xB0 52' 07.4\" S", "151\xB0 12' 20.7\" E", "33\xB0 52.1234' S",
                         "151\xB0 12.3456' E"};
    EXPECT_EQ(show("D-33521234+151123456\r\n"), want);
}

TEST(GPSDisplay, SignsAndLeadingZeros) {
    const struct {
        std::string line;
        Labels want;
    } cases[] = {
        {"D+05050070 001000000\r\n",
         {"05\xB0 05' 00.4\" N", "001\xB0 00' 00.0\" E", "05\xB0 05.0070' N",
          "001\xB0 00.0000' E"}},
        {"D 89599999-179599999\r\n",
         {"89\xB0 59' 59.9\" N", "179\xB0 59' 59.9\" W", "89\xB0 59.9999' N",
          "179\xB0 59.9999' W"}},
        {"D0000000000000000000\r\n",
         {"00\xB0 00' 00.0\" N", "000\xB0 00' 00.0\" E", "00\xB0 00.0000' N",
          "000\xB0 00.0000' E"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(show(c.line), c.want) << c.line;
    }
}

TEST(GPSDisplay, SecondsRoundHalfUpAndHoldAt599) {
    const struct {
        const char* fraction;
        const char* seconds;
    } cases[] = {{"0000", "00.0"}, {"0025", "00.2"}, {"0075", "00.5"}, {"1475", "08.9"},
                 {"9991", "59.9"}, {"9992", "59.9"}, {"9999", "59.9"}};
    for (const auto& c : cases) {
        const Labels l = show(std::string("D-3352") + c.fraction + "+15112" + c.fraction + "\r\n");
        EXPECT_EQ(l[0], std::string("33\xB0 52' ") + c.seconds + "\" S") << c.fraction;
        EXPECT_EQ(l[1], std::string("151\xB0 12' ") + c.seconds + "\" E") << c.fraction;
    }
}

TEST(GPSDisplay, SecondsForEveryFractionMatchExactArithmetic) {
    DisplayRig r;
    for (int k = 0; k <= 9999; ++k) {
        r.st.RxBuffer = "D+1020" + raw(k) + "+030" + "40" + raw(9999 - k) + "\r\n";
        GPSDisplay(r.st);
        // k x 0.006 s is 6k thousandths; tenths rounded half up, held below 60.
        auto tenths = [](int f) { return std::min((6 * f + 50) / 100, 599); };
        auto text = [](int t) {
            return std::string{char('0' + t / 100), char('0' + t / 10 % 10), '.',
                               char('0' + t % 10)};
        };
        ASSERT_EQ(r.display.text(El::Banner_GPS_Sexa_Lat), "10\xB0 20' " + text(tenths(k)) + "\" N")
            << k;
        ASSERT_EQ(r.display.text(El::Banner_GPS_Sexa_Lon),
                  "030\xB0 40' " + text(tenths(9999 - k)) + "\" E")
            << k;
    }
}

TEST(GPSBlank, Placeholders) {
    DisplayRig r;
    GPS_Blank(r.st);
    const Labels want = {"--\xB0  --'  --.-\" -", "---\xB0  --'  --.-\" -", "--\xB0  --.----'  -",
                         "---\xB0  --.----'  -"};
    EXPECT_EQ(labels(r), want);
}

TEST(GPSDisplay, BadLinesLeaveTheLabelsAsTheyWere) {
    const std::string next = "B30682048S42045P\r\n";
    const struct {
        const char* what;
        std::string buffer;
    } cases[] = {
        {"short: the next packet must not fill it in", "D-33521234+151123\r\n" + next},
        {"short, no LF yet", "D-33521234+1511234"},
        {"fraction not digits", "D-335212a4+151123456\r\n" + next},
        {"fraction blank-padded", "D-33521234+15112345 \r\n" + next},
        {"degrees not digits", "D-3X521234+151123456\r\n" + next},
        {"minutes not digits", "D-33521234+151 23456\r\n" + next},
        {"empty line", "D\r\n" + next},
        {"empty buffer", ""},
    };
    for (const auto& c : cases) {
        DisplayRig r;
        GPS_Blank(r.st);
        const Labels before = labels(r);
        r.st.RxBuffer = c.buffer;
        GPSDisplay(r.st);
        EXPECT_EQ(labels(r), before) << c.what;
    }
}

}  // namespace
}  // namespace kestrova::testing
