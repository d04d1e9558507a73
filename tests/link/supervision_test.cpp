#include <gtest/gtest.h>

#include <algorithm>

#include "tests/fakes/LinkRig.h"

namespace kestrova::testing {
namespace {

TEST(Supervision, TwentyNineIdleTicksThenDataStartNothing) {
    LinkRig r;
    r.ticks(29);
    EXPECT_FALSE(r.Timer1.isRunning());
    r.line.incoming = "B";
    r.ticks(1);
    EXPECT_EQ(r.st.link.IdleTickCount, 0);
    EXPECT_EQ(r.st.link.LinkState, 2);
    EXPECT_FALSE(r.Timer1.isRunning());
}

TEST(Supervision, ThirtiethIdleTickStartsTimer1OnceAndRepeatsEveryTwenty) {
    LinkRig r;
    r.st.link.LinkState = 2;
    r.ticks(30);
    EXPECT_TRUE(r.Timer1.isRunning());
    EXPECT_EQ(r.st.link.LinkState, 0);
    EXPECT_EQ(r.st.link.IdleTickCount, 10);
    r.ticks(19);
    EXPECT_EQ(r.st.link.IdleTickCount, 29);
    r.ticks(1);
    EXPECT_EQ(r.st.link.IdleTickCount, 10);
    EXPECT_EQ(r.Timer1.starts, 1);
}

// The whole timeline on the clock: the poll timer runs every 2 ms, the stream stops.
struct Timeline : ::testing::Test {
    void SetUp() override {
        r.Timer4.start();
        r.StayAliveTmr.start();
        r.line.incoming = "B3068204 S42045P\r\n";
        r.clock.advance(2);
        ASSERT_EQ(r.st.link.LinkState, 2);
        r.decoders.calls.clear();
    }
    int count(const std::string& name) {
        int n = 0;
        for (const auto& c : r.decoders.calls) {
            n += c.name == name;
        }
        return n;
    }
    LinkRig r;
};

TEST_F(Timeline, LinkLossBlanksOnceAfter30TicksAnd2Seconds) {
    r.clock.advance(60);  // 30 idle ticks
    EXPECT_TRUE(r.Timer1.isRunning());
    r.clock.advance(1998);
    EXPECT_EQ(count("Draw_Polar"), 0);
    r.clock.advance(2);
    EXPECT_EQ(r.st.link.LinkState, 1);
    ASSERT_EQ(r.decoders.names(), (std::vector<std::string>{"Draw_Polar", "DigitalDOA_Blank"}));
    EXPECT_EQ(r.decoders.calls[0].args, "0,0,0,T,0,T");
    r.clock.advance(2000);  // Timer1 again, still no data
    EXPECT_EQ(count("Draw_Polar"), 1);
    EXPECT_TRUE(r.Timer1.isRunning());
}

TEST_F(Timeline, DataReturningBeforeTheTimerFiresBlanksNothing) {
    r.clock.advance(60);
    ASSERT_TRUE(r.Timer1.isRunning());
    r.clock.advance(1500);
    r.line.incoming = "B3068204 S42045P\r\n";
    r.clock.advance(2);
    EXPECT_FALSE(r.Timer1.isRunning());
    EXPECT_EQ(r.st.link.LinkState, 2);
    r.clock.advance(5000);  // idle again: a fresh 30 + 2000 ms
    EXPECT_EQ(count("Draw_Polar"), 1);
}

TEST(Supervision, AStreamThatStopsOnAnUnfinishedPacketOrNoiseGoesStaleAllTheSame) {
    for (const std::string tail :
         {"B30682", "AFM/S,IF 25,AI", "D-33521", "#~noise~#", "b3068204 S"}) {
        SCOPED_TRACE(tail);
        LinkRig r;
        r.Timer4.start();
        r.line.incoming = "B3068204 S42045P\r\n" + tail;
        r.clock.advance(4);
        ASSERT_EQ(r.st.link.RxBuffer, tail);
        r.decoders.calls.clear();
        r.clock.advance(2058);  // 30 ticks and 2 s after the last character
        EXPECT_EQ(r.decoders.names(), (std::vector<std::string>{"Draw_Polar", "DigitalDOA_Blank"}));
        EXPECT_EQ(r.st.link.RxBuffer, tail) << "the partial packet waits for the rest";
        EXPECT_GT(r.st.link.BusyTickCount, 0) << "busy ticks still count a non-empty buffer";
        r.line.incoming = "\r\n";  // the rest arrives: data again
        r.clock.advance(2);
        EXPECT_EQ(r.st.link.LinkState, 2);
    }
}

TEST(Supervision, ABacklogOfCompletePacketsIsDataWithoutNewCharacters) {
    LinkRig r;
    r.line.incoming = std::string(40 * 18, 'x');
    for (int i = 0; i < 40; ++i) {
        r.line.incoming.replace(static_cast<std::size_t>(i) * 18, 18, "B3068204 S42045P\r\n");
    }
    r.ticks(40);
    EXPECT_EQ(r.st.link.IdleTickCount, 0);
    EXPECT_FALSE(r.Timer1.isRunning());
    const auto names = r.decoders.names();
    EXPECT_EQ(std::count(names.begin(), names.end(), "DrawLine"), 40);
}

TEST_F(Timeline, StayAliveEvery500MsWithOrWithoutData) {
    r.line.takeWritten();
    r.clock.advance(5000);
    EXPECT_EQ(r.line.takeWritten(), std::string(10, '\0'));
    for (int i = 0; i < 250; ++i) {
        r.line.incoming += "B3068204 S42045P\r\n";
    }
    r.clock.advance(1000);
    EXPECT_EQ(r.line.takeWritten(), std::string(2, '\0'));
}

TEST_F(Timeline, StayAliveWithoutAnOpenPortIsDropped) {
    r.line.close();
    r.clock.advance(1000);
    EXPECT_TRUE(r.line.written.empty());
    EXPECT_TRUE(r.StayAliveTmr.isRunning());
}

TEST_F(Timeline, GpsLossBlanksOnceThenTheNextPacketRedraws) {
    r.line.incoming = "D-3352123415112345\r\n";
    r.clock.advance(2);
    ASSERT_EQ(count("GPSDisplay"), 1);
    r.clock.advance(4990);
    EXPECT_EQ(count("GPS_Blank"), 0);
    r.clock.advance(20);
    EXPECT_EQ(count("GPS_Blank"), 1);
    EXPECT_EQ(r.st.link.GPSTimedOut, 1);
    EXPECT_FALSE(r.GPSTimeOut.isRunning());
    r.clock.advance(20000);
    EXPECT_EQ(count("GPS_Blank"), 1);

    r.line.incoming = "D-3352123415112345\r\n";
    r.clock.advance(2);
    EXPECT_EQ(count("GPSDisplay"), 2);
    EXPECT_EQ(r.st.link.GPSTimedOut, 0);
    EXPECT_TRUE(r.GPSTimeOut.isRunning());
}

TEST_F(Timeline, SteadyGpsStreamNeverTimesOut) {
    for (int s = 0; s < 20; ++s) {
        r.line.incoming = "D-3352123415112345\r\n";
        r.clock.advance(1000);
    }
    EXPECT_EQ(count("GPS_Blank"), 0);
    EXPECT_EQ(count("GPSDisplay"), 20);
}

}  // namespace
}  // namespace kestrova::testing
