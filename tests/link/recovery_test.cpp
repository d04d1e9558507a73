#include <gtest/gtest.h>

#include "link/PortRecovery.h"
#include "tests/fakes/LinkRig.h"

namespace kestrova::testing {
namespace {

struct RecoveryRig : LinkRig {
    RecoveryRig() {
        line.onLost = [this] { recovery.lost(); };
        Timer4.start();
        StayAliveTmr.start();
    }
    FakeTimer& RetryTmr = clock.make(500, [this] { recovery.retryTick(); });
    std::vector<std::string> reports;
    PortRecovery recovery{line, RetryTmr, [this](std::string_view m) { reports.emplace_back(m); }};
};

TEST(PortRecovery, DeviceGoneBlanksLikeALostLinkAndComesBackByItself) {
    RecoveryRig r;
    r.line.incoming = "B30682048S42045P\r\n";
    r.clock.advance(10);
    ASSERT_EQ(r.st.LinkState, 2);

    r.line.loseDevice();
    EXPECT_EQ(r.reports, std::vector<std::string>{"Serial port lost."});
    r.clock.advance(2100);  // 30 idle ticks and the link-loss timer
    EXPECT_EQ(r.st.LinkState, 1);
    ASSERT_GE(r.decoders.calls.size(), 2u);
    EXPECT_EQ(r.decoders.calls[r.decoders.calls.size() - 2].name, "Draw_Polar");
    EXPECT_EQ(r.decoders.calls.back().name, "DigitalDOA_Blank");
    EXPECT_TRUE(r.recovery.waiting());
    EXPECT_FALSE(r.line.isOpen());

    r.line.available[1] = true;  // plugged in again
    r.clock.advance(500);
    EXPECT_TRUE(r.line.isOpen());
    EXPECT_FALSE(r.RetryTmr.isRunning());
    EXPECT_EQ(r.reports.back(), "Serial port reopened.");

    r.line.incoming = "B30682048S42045P\r\n";
    r.clock.advance(4);
    EXPECT_EQ(r.st.LinkState, 2);
    EXPECT_EQ(r.decoders.calls.back().name, "DrawLine");
}

TEST(PortRecovery, StopsTryingWhenAnotherPortWasOpenedMeanwhile) {
    RecoveryRig r;
    r.line.loseDevice();
    r.line.available[2] = true;
    r.line.setPortNumber(2);
    ASSERT_TRUE(r.line.open());
    const int opens = r.line.opens;
    r.clock.advance(1000);
    EXPECT_FALSE(r.recovery.waiting());
    EXPECT_FALSE(r.RetryTmr.isRunning());
    EXPECT_EQ(r.line.opens, opens);
    EXPECT_EQ(r.line.portNumber(), 2);
}

TEST(PortRecovery, KeepsTryingWhileTheDeviceStaysAway) {
    RecoveryRig r;
    r.line.loseDevice();
    r.clock.advance(10000);
    EXPECT_TRUE(r.recovery.waiting());
    EXPECT_TRUE(r.RetryTmr.isRunning());
    EXPECT_EQ(r.reports.size(), 1u);  // one report, not one per attempt
}

}  // namespace
}  // namespace kestrova::testing
