#include <gtest/gtest.h>

#include <cmath>

#include "tools/sim/Packets.h"

namespace kestrova::sim {
namespace {

TEST(SimRawComponent, ScaleAndLimits) {
    struct Case {
        double value;
        int raw;
    };
    const Case cases[] = {{0, 2048},     {50, 3068},     {-100, 8},   {100, 4088}, {0.02, 2048},
                          {0.025, 2049}, {-0.025, 2047}, {250, 4095}, {-250, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(rawComponent(c.value), c.raw) << c.value;
    }
}

TEST(SimRawComponent, DisplayDecodesEveryWholeValueBack) {
    // The display divides by 20.4 and rounds half to even.
    for (int v = -100; v <= 100; ++v) {
        const double back = std::nearbyint((rawComponent(v) - 2048) / 20.4);
        EXPECT_EQ(back, v);
    }
}

TEST(SimFormatBearing, ByteExact) {
    struct Case {
        BearingFields f;
        const char* want;
    };
    const Case cases[] = {
        {{50, 0, 'S', 42, 45, 'P'}, "B30682048S42045P\r\n"},
        {{0, 50, 'S', 7, -1, 'N'}, "B20483068S07999N\r\n"},
        {{-100, -100, 'T', 99, 359, 'P'}, "B00080008T99359P\r\n"},
        {{0, 0, 'S', 120, 360, 'P'}, "B20482048S99000P\r\n"},
        {{0, 0, 'T', -3, 0, 'P'}, "B20482048T00000P\r\n"},
    };
    for (const auto& c : cases) {
        const std::string got = formatBearing(c.f);
        EXPECT_EQ(got, c.want);
        EXPECT_EQ(got.size(), 18u);
    }
}

TEST(SimFormatLines, StatusAntennaGps) {
    StatusFields s;
    StatusFields noRest;
    noRest.rest.clear();
    noRest.power = "BAT";
    noRest.mount = "GND";
    noRest.dfMode = "RCV";
    Antenna unknown{"ANT UNKNOWN", {}};
    Antenna kva{"KVA-210", {{"118-137", 0}, {"138-174", -450}, {"225-400", std::nullopt}}};
    struct Case {
        std::string got;
        const char* want;
    };
    const Case cases[] = {
        {formatStatus(s), "AFM/S,IF 25,AIR,LCL,HIGH,01,HNT,BRT,REL\r\n"},
        {formatStatus(noRest), "AFM/S,IF 25,GND,LCL,HIGH,01,RCV,BAT\r\n"},
        {formatAntenna(unknown), "CANT UNKNOWN\r\n"},
        {formatAntenna(kva), "CKVA-210,118-137/0,138-174/-450,225-400\r\n"},
        {formatGps(-33.8687, 151.2093), "D-33521220+151125580\r\n"},
        {formatGps(0, 0), "D+00000000+000000000\r\n"},
        // Rounding carries into minutes and degrees instead of showing 60 minutes.
        {formatGps(10.999999999, -7.999999999), "D+11000000-008000000\r\n"},
        {formatGps(52.5, 190.0), "D+52300000-170000000\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.got, c.want);
    }
}

}  // namespace
}  // namespace kestrova::sim
