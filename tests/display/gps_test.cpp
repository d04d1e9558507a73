#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <locale>
#include <string>

#include "display/Bearing.h"
#include "display/Gps.h"
#include "display/Polar.h"
#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

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

// Under a decimal-comma locale the readout and the GPS labels still write a point.
TEST(Labels, DecimalCommaLocale) {
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8") && !std::setlocale(LC_ALL, "de_DE.utf8")) {
        GTEST_SKIP() << "no de_DE locale installed";
    }
    const std::locale saved = std::locale::global(std::locale(std::setlocale(LC_ALL, nullptr)));
    EXPECT_STREQ(std::localeconv()->decimal_point, ",") << "the locale is not in force";
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
