#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <locale>
#include <string>

#include "core/FormatDot.h"
#include "display/Bearing.h"
#include "display/Gps.h"
#include "display/Polar.h"
#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

// Numbers round halves away from zero on their decimal text; what is not a number or a time of
// day comes back as it came.
void expectFormats() {
    const std::tuple<const char*, const char*, const char*> numbers[] = {
        {"0.15", "00.0", "00.2"},     {"0.149999", "00.0", "00.1"},   {"59.95", "00.0", "60.0"},
        {"99.96", "00.0", "100.0"},   {"-1.25", "00.0", "-01.3"},     {"-0.04", "00.0", "00.0"},
        {" 7.404 ", "00.0", "07.4"},  {"1e-05", "00.0", "00.0"},      {".5", "00.0", "00.5"},
        {"1,5", "00.0", "1,5"},       {"1e99999", "00.0", "1e99999"}, {"", "00.0", ""},
        {"5.3", "000.0", "005.3"},    {"5.3", "00.", "5.3"},          {" 5", "00.0", "05.0"},
        {"5\t", "00.0", "05.0"},      {"1e", "00.0", "1e"},           {"5.3", "00.0x", "5.3"},
        {"1.25e1", "000.0", "012.5"},
    };
    for (const auto& [in, pattern, want] : numbers) {
        EXPECT_EQ(FormatDot(in, pattern), want) << in << " as " << pattern;
    }
    const std::pair<const char*, const char*> times[] = {
        {"14:3:7", "14:03:07"}, {"23:59:59", "23:59:59"}, {"9:05", "09:05:00"},
        {"24:0:0", "24:0:0"},   {"12:60:0", "12:60:0"},   {"9", "9"},
        {"1:2:3:4", "1:2:3:4"}, {"1:2:3:", "01:02:03"},   {"20:30:50", "20:30:50"},
        {"12::3", "12::3"},     {"1:002:3", "1:002:3"},   {"0:0:59", "00:00:59"},
        {"-1:0:0", "-1:0:0"},   {"1:-1:0", "1:-1:0"},
    };
    for (const auto& [in, want] : times) {
        EXPECT_EQ(FormatDot(in, "hh:mm:ss"), want) << in;
    }
}

TEST(FormatDot, Patterns) {
    expectFormats();
}

using Labels = std::array<std::string, 4>;

// The labels after blanking, then showing the buffer.
Labels show(const std::string& buffer) {
    StationRig r;
    GPS_Blank(r.st);
    if (const auto fix = ParseGpsPacket(buffer)) {
        GPSDisplay(r.st, *fix);
    }
    return {r.window.text(El::Banner_GPS_Sexa_Lat), r.window.text(El::Banner_GPS_Sexa_Lon),
            r.window.text(El::Banner_GPS_Decimal_Lat), r.window.text(El::Banner_GPS_Decimal_Lon)};
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
    StationRig r;
    r.st.antenna.BandOffset[1] = 1234;
    r.st.status.BandIndex = 1;
    DrawLine(r.st, ParseBearingPacket("B20483068S42999P\r\n"));
    DrawDigitalDOA(r.st);
    EXPECT_EQ(r.window.text(El::DOA), "123.");
    EXPECT_EQ(show("D-33521234+151123456\r\n"), kWorked);
    std::locale::global(saved);
    std::setlocale(LC_ALL, "C");
}

// A fix as "S 33 52 1234 / E 151 12 3456", or "none".
std::string record(const std::optional<GpsFix>& f) {
    auto c = [](const GpsCoordinate& g) {
        return g.hemisphere + (" " + g.degrees + " " + g.minutes + " " + g.fraction);
    };
    return f ? c(f->lat) + " / " + c(f->lon) : "none";
}

// A position is read whole or not at all, never from past the end of its line: short (the next
// packet must not fill it in; no LF yet; empty), or a field not all digits.
TEST(ParseGpsPacket, Records) {
    const std::pair<std::string, const char*> cases[] = {
        {"D-33521234+151123456\r\n" + kNext, "S 33 52 1234 / E 151 12 3456"},
        {"D+05050070 001000000\r\n", "N 05 05 0070 / E 001 00 0000"},
        {"D 89599999-179599999", "N 89 59 9999 / W 179 59 9999"},
        {"DX00000000X000000000\n", "N 00 00 0000 / E 000 00 0000"},
        {"D-33521234+151123\r\n" + kNext, "none"},
        {"D-33521234+1511234", "none"},
        {"", "none"},
        {"D-335212a4+151123456\r\n", "none"},
        {"D-33521234+15112345 \r\n", "none"},
        {"D-3X521234+151123456\r\n", "none"},
        {"D-33521234+151 23456\r\n", "none"},
        {"D-33521234+1X1123456\r\n", "none"},
        {"D-33521234+15112a456\r\n", "none"},
    };
    for (const auto& [line, want] : cases) {
        EXPECT_EQ(record(ParseGpsPacket(line)), want) << line;
    }
}

// The four labels of a fix; no fix leaves the placeholders.
TEST(GPSDisplay, LabelsOfAFix) {
    // Seconds are tenths rounded half up, held below a minute.
    const std::pair<std::string, Labels> cases[] = {
        {"D-33521234+151123456\r\n" + kNext, kWorked},
        {"D+05050070 001000000\r\n",
         {"05\xB0 05' 00.4\" N", "001\xB0 00' 00.0\" E", "05\xB0 05.0070' N",
          "001\xB0 00.0000' E"}},
        {"D+10209999-030400025\r\n",
         {"10\xB0 20' 59.9\" N", "030\xB0 40' 00.2\" W", "10\xB0 20.9999' N",
          "030\xB0 40.0025' W"}},
        {"D+10201667-030400991\r\n",
         {"10\xB0 20' 10.0\" N", "030\xB0 40' 05.9\" W", "10\xB0 20.1667' N",
          "030\xB0 40.0991' W"}},
        {"D+10200350-030400000\r\n",
         {"10\xB0 20' 02.1\" N", "030\xB0 40' 00.0\" W", "10\xB0 20.0350' N",
          "030\xB0 40.0000' W"}},
        {"D-3X521234+151123456\r\n", {kGpsBlank[0], kGpsBlank[1], kGpsBlank[2], kGpsBlank[3]}},
    };
    for (const auto& [packet, labels] : cases) {
        EXPECT_EQ(show(packet), labels) << packet;
    }
}

}  // namespace
}  // namespace kestrova::testing
