#include <gtest/gtest.h>

#include <tuple>

#include "tools/sim/Pacing.h"
#include "tools/sim/Packets.h"

namespace kestrova::sim {
namespace {

TEST(SimPackets, ByteExact) {
    Antenna kva{"KVA-210", {{"118-137", 0}, {"138-174", -450}, {"225-400", std::nullopt}}};
    const std::pair<std::string, const char*> cases[] = {
        {formatBearing({50, 0, 'S', 42, 45, 'P'}), "B30682048S42045P\r\n"},
        {formatBearing({-250, 50, 'S', 7, -1, 'N'}), "B00003068S07999N\r\n"},
        {formatBearing({-100, -100, 'T', 99, 359, 'P'}), "B00080008T99359P\r\n"},
        // Raw components round half away from zero and stop at the 12-bit range.
        {formatBearing({0.02, 0.025, 'S', 120, 360, 'P'}), "B20482049S99000P\r\n"},
        {formatBearing({250, -0.025, 'T', -3, 0, 'P'}), "B40952047T00000P\r\n"},
        {formatStatus({}), "AFM/S,IF 25,AIR,LCL,HIGH,01,HNT,BRT,REL\r\n"},
        {formatStatus({.mount = "GND", .dfMode = "RCV", .power = "BAT", .rest = ""}),
         "AFM/S,IF 25,GND,LCL,HIGH,01,RCV,BAT\r\n"},
        {formatAntenna({"ANT UNKNOWN", {}}), "CANT UNKNOWN\r\n"},
        {formatAntenna(kva), "CKVA-210,118-137/0,138-174/-450,225-400\r\n"},
        {formatGps(-33.8687, 151.2093), "D-33521220+151125580\r\n"},
        {formatGps(0, 0), "D+00000000+000000000\r\n"},
        // Rounding carries into minutes and degrees instead of showing 60 minutes.
        {formatGps(10.999999999, -7.999999999), "D+11000000-008000000\r\n"},
        {formatGps(52.5, 190.0), "D+52300000-170000000\r\n"},
    };
    for (const auto& [got, want] : cases) {
        EXPECT_EQ(got, want);
    }
}

TEST(SimPacing, BytesAllowedAndLineSeconds) {
    const std::tuple<double, int, std::uint64_t> cases[] = {
        {0, 19200, 0},          {-1, 19200, 0},
        {1.0, 19200, 1920},     {0.01, 19200, 19},
        {1.0 / 1920, 19200, 1}, {0.999 / 1920, 19200, 0},
        {1.0, 9600, 960},       {2.0 / 1920 * 7, 19200, 14}};
    for (const auto& [seconds, baud, bytes] : cases) {
        EXPECT_EQ(bytesAllowed(seconds, baud), bytes) << seconds << " s";
    }
    EXPECT_DOUBLE_EQ(lineSeconds(18), 18.0 / 1920);
}

TEST(SimPacing, Pacer) {
    Pacer p;
    p.restart(0);
    std::uint64_t total = 0;
    std::size_t largest = 0;
    for (int tick = 1; tick <= 200; ++tick) {
        // 10 ms ticks that arrive a little late, never enough to exceed the burst limit.
        const std::size_t n = p.budget(tick * 0.010 + (tick % 3) * 0.002);
        p.sent(n);
        total += n;
        largest = std::max(largest, n);
    }
    EXPECT_EQ(total, bytesAllowed(2.0 + 0.004));
    EXPECT_LE(largest, 25u);

    // A stall does not catch up (burst of 96 at most); a silence carries no credit.
    p.restart(0);
    EXPECT_EQ(p.budget(0.01), 19u);
    p.sent(19);
    EXPECT_EQ(p.budget(1.0), 96u);  // held up for a second: one burst, the rest is lost
    p.sent(96);
    EXPECT_EQ(p.budget(1.0), 0u);
    EXPECT_EQ(p.budget(1.05), 96u);
    p.sent(96);
    p.restart(5.0);
    EXPECT_EQ(p.budget(5.0), 0u);
    EXPECT_EQ(p.budget(5.01), 19u);
    EXPECT_NEAR(p.nextDue(), 5.0 + 1.0 / 1920, 1e-9);
}

}  // namespace
}  // namespace kestrova::sim
