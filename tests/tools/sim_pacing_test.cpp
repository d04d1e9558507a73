#include <gtest/gtest.h>

#include "tools/sim/Pacing.h"

namespace kestrova::sim {
namespace {

TEST(SimPacing, BytesAllowedAfterTime) {
    struct Case {
        double seconds;
        int baud;
        std::uint64_t bytes;
    };
    const Case cases[] = {
        {0, 19200, 0},
        {-1, 19200, 0},
        {1.0, 19200, 1920},
        {0.5, 19200, 960},
        {0.01, 19200, 19},
        {1.0 / 1920, 19200, 1},
        {0.999 / 1920, 19200, 0},
        {60, 19200, 115200},
        {1.0, 9600, 960},
        {2.0 / 1920 * 7, 19200, 14},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(bytesAllowed(c.seconds, c.baud), c.bytes) << c.seconds << " s";
    }
    EXPECT_DOUBLE_EQ(lineSeconds(1920), 1.0);
    EXPECT_DOUBLE_EQ(lineSeconds(18), 18.0 / 1920);
}

TEST(SimPacing, ChunksOnAClockAddUpToTheLineRate) {
    Pacer p;
    p.restart(0);
    std::uint64_t total = 0;
    std::size_t largest = 0;
    for (int tick = 1; tick <= 200; ++tick) {
        // 10 ms ticks that arrive a little late, never enough to exceed the burst limit.
        const double t = tick * 0.010 + (tick % 3) * 0.002;
        const std::size_t n = p.budget(t);
        p.sent(n);
        total += n;
        largest = std::max(largest, n);
    }
    EXPECT_EQ(total, bytesAllowed(2.0 + 0.004));
    EXPECT_LE(largest, 25u);
}

TEST(SimPacing, StallDoesNotCatchUpAndSilenceCarriesNoCredit) {
    Pacer p(kBaud, 96);
    p.restart(0);
    EXPECT_EQ(p.budget(0), 0u);
    EXPECT_EQ(p.budget(0.01), 19u);
    p.sent(19);
    EXPECT_EQ(p.budget(1.0), 96u);  // held up for a second: one burst, the rest is lost
    p.sent(96);
    EXPECT_EQ(p.budget(1.0), 0u);
    EXPECT_EQ(p.budget(1.05), 96u);
    p.sent(96);
    p.restart(5.0);
    EXPECT_EQ(p.budget(4.9), 0u);
    EXPECT_EQ(p.budget(5.0), 0u);
    EXPECT_EQ(p.budget(5.01), 19u);
    EXPECT_NEAR(p.nextDue(), 5.0 + 1.0 / 1920, 1e-9);
}

}  // namespace
}  // namespace kestrova::sim
