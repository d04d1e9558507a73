#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <clocale>
#include <locale>
#include <string>
#include <utility>

#include "core/FormatDot.h"
#include "display/Gps.h"
#include "tests/display/DisplayRig.h"

namespace kestrova::testing {
namespace {

// Numbers round halves away from zero on their decimal text; what is not a number or a time of
// day comes back as it came.
void expectFormats() {
    const std::pair<const char*, const char*> numbers[] = {
        {"0.15", "00.2"},   {"0.149999", "00.1"}, {"59.95", "60.0"},      {"99.96", "100.0"},
        {"-1.25", "-01.3"}, {"-0.04", "00.0"},    {" 7.404 ", "07.4"},    {"1e-05", "00.0"},
        {".5", "00.5"},     {"1,5", "1,5"},       {"1e99999", "1e99999"}, {"", ""}};
    for (const auto& [in, want] : numbers) {
        EXPECT_EQ(FormatDot(in, "00.0"), want) << in;
    }
    const std::pair<const char*, const char*> times[] = {
        {"14:3:7", "14:03:07"}, {"23:59:59", "23:59:59"}, {"9:05", "09:05:00"},
        {"24:0:0", "24:0:0"},   {"12:60:0", "12:60:0"},   {"9", "9"},
        {"1:2:3:4", "1:2:3:4"}, {"12::3", "12::3"},       {"1:002:3", "1:002:3"}};
    for (const auto& [in, want] : times) {
        EXPECT_EQ(FormatDot(in, "hh:mm:ss"), want) << in;
    }
    EXPECT_EQ(FormatDot("5.3", "000.0"), "005.3");
    EXPECT_EQ(FormatDot("1.25e1", "000.0"), "012.5");
}

TEST(FormatDot, Patterns) {
    expectFormats();
}

using Labels = std::array<std::string, 4>;

// The labels after blanking, then showing the buffer.
Labels show(const std::string& buffer) {
    DisplayRig r;
    GPS_Blank(r.st);
    r.st.link.RxBuffer = buffer;
    GPSDisplay(r.st);
    return {r.display.text(El::Banner_GPS_Sexa_Lat), r.display.text(El::Banner_GPS_Sexa_Lon),
            r.display.text(El::Banner_GPS_Decimal_Lat), r.display.text(El::Banner_GPS_Decimal_Lon)};
}

const std::string kNext = "B30682048S42045P\r\n";
const Labels kWorked = {"33\xB0 52' 07.4\" S", "151\xB0 12' 20.7\" E", "33\xB0 52.1234' S",
                        "151\xB0 12.3456' E"};

// Under a decimal-comma locale the readout, the GPS labels and FormatDot still write a point.
TEST(FormatDot, DecimalCommaLocale) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8")) {
        GTEST_SKIP() << "no de_DE locale installed";
    }
    const std::locale saved = std::locale::global(std::locale(std::setlocale(LC_ALL, nullptr)));
    EXPECT_STREQ(std::localeconv()->decimal_point, ",") << "the locale is not in force";
    expectFormats();
    EXPECT_EQ(DisplayRig().bearing(0, 50, 1234), "123.");
    EXPECT_EQ(show("D-33521234+151123456\r\n"), kWorked);
    std::locale::global(saved);
    std::setlocale(LC_ALL, "C");
}

TEST(GPSDisplay, SignsAndLeadingZeros) {
    const std::pair<std::string, Labels> cases[] = {{"D-33521234+151123456\r\n", kWorked},
                                                    {"D+05050070 001000000\r\n",
                                                     {"05\xB0 05' 00.4\" N", "001\xB0 00' 00.0\" E",
                                                      "05\xB0 05.0070' N", "001\xB0 00.0000' E"}},
                                                    {"D 89599999-179599999\r\n",
                                                     {"89\xB0 59' 59.9\" N", "179\xB0 59' 59.9\" W",
                                                      "89\xB0 59.9999' N", "179\xB0 59.9999' W"}}};
    for (const auto& [line, want] : cases) {
        EXPECT_EQ(show(line + kNext), want) << line;
    }
}

TEST(GPSDisplay, SecondsRoundHalfUpAndHoldAt599) {
    const char* cases[][2] = {{"0000", "00.0"}, {"0025", "00.2"}, {"0075", "00.5"},
                              {"1475", "08.9"}, {"9991", "59.9"}, {"9992", "59.9"},
                              {"9999", "59.9"}};
    for (const auto& [fraction, seconds] : cases) {
        const Labels l = show(std::string("D-3352") + fraction + "+15112" + fraction + "\r\n");
        EXPECT_EQ(l[0], std::string("33\xB0 52' ") + seconds + "\" S") << fraction;
        EXPECT_EQ(l[1], std::string("151\xB0 12' ") + seconds + "\" E") << fraction;
    }
}

// k x 0.006 s is 6k thousandths; tenths rounded half up, held below 60.
TEST(GPSDisplay, SecondsForEveryFractionMatchExactArithmetic) {
    auto text = [](int k) {
        const int t = std::min((6 * k + 50) / 100, 599);
        return DisplayRig::raw(t / 10).substr(2) + "." + std::to_string(t % 10);
    };
    DisplayRig r;
    for (int k = 0; k <= 9999; ++k) {
        r.st.link.RxBuffer =
            "D+1020" + DisplayRig::raw(k) + "+03040" + DisplayRig::raw(9999 - k) + "\r\n";
        GPSDisplay(r.st);
        ASSERT_EQ(r.display.text(El::Banner_GPS_Sexa_Lat), "10\xB0 20' " + text(k) + "\" N") << k;
        ASSERT_EQ(r.display.text(El::Banner_GPS_Sexa_Lon), "030\xB0 40' " + text(9999 - k) + "\" E")
            << k;
    }
}

// A position is shown whole or not at all, never from past the end of its line: short (the next
// packet must not fill it in; no LF yet; empty), or a field not all digits.
TEST(GPSDisplay, BadLinesLeaveThePlaceholders) {
    const Labels placeholders = {"--\xB0  --'  --.-\" -", "---\xB0  --'  --.-\" -",
                                 "--\xB0  --.----'  -", "---\xB0  --.----'  -"};
    for (const std::string& buffer :
         {"D-33521234+151123\r\n" + kNext, std::string("D-33521234+1511234"), std::string(),
          "D-335212a4+151123456\r\n" + kNext, "D-33521234+15112345 \r\n" + kNext,
          "D-3X521234+151123456\r\n" + kNext, "D-33521234+151 23456\r\n" + kNext}) {
        EXPECT_EQ(show(buffer), placeholders) << buffer;
    }
}

}  // namespace
}  // namespace kestrova::testing
