#include <gtest/gtest.h>

#include <array>
#include <clocale>
#include <locale>
#include <string>

#include "display/Bearing.h"
#include "display/Gps.h"
#include "display/Polar.h"
#include "output/BearingLog.h"
#include "tests/fakes/MemoryFile.h"
#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

// Under a decimal-comma locale (the program runs in the operator's) the readout, the GPS
// labels and the bearing log still write a point.
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
    const std::array<std::string, 4> worked = {"33\xB0 52' 07.4\" S", "151\xB0 12' 20.7\" E",
                                               "33\xB0 52.1234' S", "151\xB0 12.3456' E"};
    EXPECT_EQ(GpsLabels(*ParseGpsPacket("D-33521234+151123456\r\n")), worked);
    MemoryFile file;
    BearingLog log(file, {});
    ASSERT_TRUE(log.start("b.csv"));
    log.setTrueBearing([] { return 12.34; });
    BearingShown b;
    b.position = GeoPosition{-33.868723, 151.20576};
    log.bearingShown(b);
    EXPECT_TRUE(file.content.ends_with(",-33.868723,151.205760,12.3\n")) << file.content;
    std::locale::global(saved);
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace kestrova::testing
