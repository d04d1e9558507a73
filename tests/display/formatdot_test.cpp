#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <locale>
#include <string>

#include "display/Bearing.h"
#include "display/FormatDot.h"
#include "display/Gps.h"
#include "tests/display/DisplayRig.h"

namespace kestrova::testing {
namespace {

struct Case {
    const char* data;
    const char* pattern;
    const char* want;
};

constexpr Case kCases[] = {
    {"123.4", "000.0", "123.4"},
    {"5.3", "000.0", "005.3"},
    {"0.5", "000.0", "000.5"},
    {"0", "000.0", "000.0"},
    {"359.9", "000.0", "359.9"},
    {"123.45", "000.0", "123.5"},  // halves away from zero, decided on the decimal text
    {"0.15", "00.0", "00.2"},
    {"0.45", "00.0", "00.5"},
    {"0.149999", "00.0", "00.1"},
    {"59.94", "00.0", "59.9"},
    {"59.95", "00.0", "60.0"},
    {"9.96", "00.0", "10.0"},
    {"99.96", "00.0", "100.0"},
    {"-1.25", "00.0", "-01.3"},
    {"-0.04", "00.0", "00.0"},
    {" 7.404 ", "00.0", "07.4"},
    {"1e-05", "00.0", "00.0"},
    {"1.25e1", "000.0", "012.5"},
    {".5", "00.0", "00.5"},
    // Not numbers: returned as they came.
    {"abc", "00.0", "abc"},
    {"", "00.0", ""},
    {"1,5", "00.0", "1,5"},
    {"1e99999", "00.0", "1e99999"},
    {"14:3:7", "hh:mm:ss", "14:03:07"},
    {"0:0:0", "hh:mm:ss", "00:00:00"},
    {"23:59:59", "hh:mm:ss", "23:59:59"},
    {"9:05", "hh:mm:ss", "09:05:00"},
    {"24:00:00", "hh:mm:ss", "24:00:00"},
    {"12:60:00", "hh:mm:ss", "12:60:00"},
    {"1:2:3:4", "hh:mm:ss", "1:2:3:4"},
    {"12::3", "hh:mm:ss", "12::3"},
    {"123:4:5", "hh:mm:ss", "123:4:5"},
};

TEST(FormatDot, Patterns) {
    for (const auto& c : kCases) {
        EXPECT_EQ(FormatDot(c.data, c.pattern), c.want) << c.data << " with " << c.pattern;
    }
}

// Puts the whole process under a decimal-comma locale for one test.
class DecimalCommaLocale : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"}) {
            if (std::setlocale(LC_ALL, name) != nullptr) {
                try {
                    saved_ = std::locale::global(std::locale(name));
                    active_ = true;
                    return;
                } catch (const std::runtime_error&) {
                    std::setlocale(LC_ALL, "C");
                }
            }
        }
        GTEST_SKIP() << "no de_DE locale installed";
    }
    void TearDown() override {
        if (active_) {
            std::locale::global(saved_);
            std::setlocale(LC_ALL, "C");
        }
    }
    std::locale saved_;
    bool active_ = false;
};

TEST_F(DecimalCommaLocale, EverythingStillWritesAPoint) {
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    ASSERT_STREQ(probe, "1,5") << "the locale is not in force";

    for (const auto& c : kCases) {
        EXPECT_EQ(FormatDot(c.data, c.pattern), c.want) << c.data << " with " << c.pattern;
    }

    DisplayRig r;
    r.st.VectX = 0;
    r.st.VectY = 50;
    r.st.BandIndex = 1;
    r.st.BandOffset[1] = 1234;
    DrawDigitalDOA(r.st);
    EXPECT_EQ(r.display.text(El::DOA), "123.");

    r.st.RxBuffer = "D-33521234+151123456\r\n";
    GPSDisplay(r.st);
    EXPECT_EQ(r.display.text(El::Banner_GPS_Sexa_Lat), "33\xB0 52' 07.4\" S");
    EXPECT_EQ(r.display.text(El::Banner_GPS_Decimal_Lon), "151\xB0 12.3456' E");
}

}  // namespace
}  // namespace kestrova::testing
