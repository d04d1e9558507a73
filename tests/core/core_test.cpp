// What core gives everyone: numbers in texts too long for golden data, and the clocks.
#include <gtest/gtest.h>

#include <ctime>
#include <initializer_list>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "core/Clock.h"
#include "core/Numbers.h"

namespace kestrova::testing {
namespace {

// A mantissa over a million digits long keeps its exponent's say; digits with no exponent
// after them are the number.
TEST(LeadingNumber, LongTexts) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(LeadingNumber("1" + std::string(400, '0') + "x-999"), inf) << "no exponent";
    const std::string tiny = "0." + std::string(2'000'000, '0') + "1e";
    EXPECT_EQ(LeadingNumber(tiny + "2000401"), inf) << "a long mantissa, a longer exponent";
    EXPECT_EQ(LeadingNumber(tiny + "1999601"), 0);
}

// Digits are a number while it fits; the last ten-digit values are refused before they could
// overflow, and whole texts are finite numbers or none.
TEST(Numbers, DigitsAtTheirLimitAndWholeNumbers) {
    EXPECT_EQ(DigitsValue("2147483639"), 2147483639);
    EXPECT_EQ(DigitsValue("2147483640"), std::nullopt);
    EXPECT_EQ(DigitsValue("0002147483639"), 2147483639);
    for (const auto& [text, value] : std::initializer_list<std::pair<const char*, double>>{
             {"1.5", 1.5}, {"-2e3", -2000}, {"0", 0}}) {
        EXPECT_EQ(FiniteNumber(text), value) << text;
    }
    for (const char* text : {"", " 1", "1 ", "inf", "nan", "1e999", "1,5", "+"}) {
        EXPECT_EQ(FiniteNumber(text), std::nullopt) << text;
    }
    EXPECT_EQ(Latin1ToUtf8("a\x7F\x80\xFF"), "a\x7F\xC2\x80\xC3\xBF");
}

// The system clock tells the calendar's date and time, taken in the same second. The second
// is read from the same clock: std::time may run a tick behind it and disagree at a boundary.
TEST(SystemLocalClock, TellsTheLocalDateAndTime) {
    const auto realSecond = [] {
        timespec ts{};
        ::clock_gettime(CLOCK_REALTIME, &ts);
        return ts.tv_sec;
    };
    std::time_t second = 0;
    LocalTime t;
    for (int i = 0; i < 3 && (i == 0 || second != realSecond()); ++i) {
        second = realSecond();
        t = SystemLocalClock().now();
    }
    std::tm local{};
    ::localtime_r(&second, &local);
    char want[32];
    std::strftime(want, sizeof want, "%Y-%m-%d %H:%M:%S", &local);
    EXPECT_EQ(FormatLocalTime(t).substr(0, 19), want);
    EXPECT_EQ(FormatTimeOfDay(t), FormatLocalTime(t).substr(11, 8));
    EXPECT_TRUE(t.millisecond >= 0 && t.millisecond <= 999) << t.millisecond;
}

}  // namespace
}  // namespace kestrova::testing
