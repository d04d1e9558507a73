#include <gtest/gtest.h>

#include <algorithm>

#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

using Names = std::vector<std::string>;
const std::string kBearing = "B3068204 S42045P\r\n";
const Names kPark = {"StopBearings"};

TEST(Supervision, IdleTicksStartTimer1OnTheThirtiethAndEveryTwentiethAfter) {
    LinkRig r;
    r.tick(29);
    EXPECT_FALSE(r.Timer1.isRunning());
    r.line.incoming = "B";
    r.tick();
    EXPECT_EQ(std::tuple(r.st.link.IdleTickCount, r.st.link.LinkState, r.Timer1.isRunning()),
              std::tuple(0, 2, false));
    r.st.link.RxBuffer.clear();
    r.tick(30);
    EXPECT_EQ(std::tuple(r.st.link.IdleTickCount, r.st.link.LinkState, r.Timer1.isRunning()),
              std::tuple(10, 0, true));
    r.tick(19);
    EXPECT_EQ(r.st.link.IdleTickCount, 29);
    r.tick();
    EXPECT_EQ(r.st.link.IdleTickCount, 10);
    EXPECT_EQ(r.Timer1.starts, 1);
}

// The whole timeline on the clock: the poll timer runs every 2 ms, and the stream stops.
struct Timeline : ::testing::Test {
    void SetUp() override {
        r.start();
        r.line.incoming = kBearing;
        r.clock.advance(2);
        ASSERT_EQ(r.st.link.LinkState, 2);
        r.decoders.calls.clear();
    }
    long count(const std::string& name) const {
        const Names n = r.decoders.names();
        return std::count(n.begin(), n.end(), name);
    }
    LinkRig r;
};

TEST_F(Timeline, LinkLossParksOnceAfter30TicksAnd2SecondsUnlessDataReturns) {
    r.clock.advance(60);  // 30 idle ticks
    EXPECT_TRUE(r.Timer1.isRunning());
    r.clock.advance(1998);
    EXPECT_EQ(count("StopBearings"), 0);
    r.clock.advance(2);
    EXPECT_EQ(r.st.link.LinkState, 1);
    ASSERT_EQ(r.decoders.names(), kPark);
    r.clock.advance(2000);  // Timer1 again, still no data
    EXPECT_EQ(count("StopBearings"), 1);
    EXPECT_TRUE(r.Timer1.isRunning());

    r.line.incoming = kBearing;  // back, then gone again before the timer fires
    r.clock.advance(62);
    r.clock.advance(1500);
    r.line.incoming = kBearing;
    r.clock.advance(2);
    EXPECT_FALSE(r.Timer1.isRunning());
    EXPECT_EQ(r.st.link.LinkState, 2);
    EXPECT_EQ(count("StopBearings"), 1);
    r.clock.advance(2058);  // idle again: a fresh 30 ticks + 2000 ms
    EXPECT_EQ(count("StopBearings"), 1);
    r.clock.advance(2);
    EXPECT_EQ(count("StopBearings"), 2);
}

TEST(Supervision, AStreamThatStopsOnAnUnfinishedPacketOrNoiseGoesStaleAllTheSame) {
    for (const std::string tail :
         {"B30682", "AFM/S,IF 25,AI", "D-33521", "#~noise~#", "b3068204 S"}) {
        SCOPED_TRACE(tail);
        LinkRig r;
        r.Timer4.start();
        r.line.incoming = kBearing + tail;
        r.clock.advance(4);
        r.decoders.calls.clear();
        r.clock.advance(2058);  // 30 ticks and 2 s after the last character
        EXPECT_EQ(r.decoders.names(), kPark);
        EXPECT_EQ(r.st.link.RxBuffer, tail) << "the partial packet waits for the rest";
        EXPECT_GT(r.st.link.BusyTickCount, 0) << "busy ticks still count a non-empty buffer";
        r.line.incoming = "\r\n";  // the rest arrives: data again
        r.clock.advance(2);
        EXPECT_EQ(r.st.link.LinkState, 2);
    }
}

}  // namespace
}  // namespace kestrova::testing
