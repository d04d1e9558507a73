#include <gtest/gtest.h>

#include <map>

#include "tests/fakes/LinkRig.h"

namespace kestrova::testing {
namespace {

using Calls = std::vector<std::string>;

// Feeds n bearing packets and returns the decoder calls made by each, by packet number.
std::map<int, Calls> feedBearings(LinkRig& r, int n, const std::string& packet) {
    std::map<int, Calls> byPacket;
    for (int i = 1; i <= n; ++i) {
        const std::size_t before = r.decoders.calls.size();
        r.st.link.RxBuffer = packet;
        r.dispatch.bearing();
        for (std::size_t k = before; k < r.decoders.calls.size(); ++k) {
            byPacket[i].push_back(r.decoders.calls[k].name);
        }
    }
    return byPacket;
}

const std::string kPacket = "B3068204 S42045P\r\n";

TEST(Dispatch, BearingCadenceOverACycleWithDirectionFinding) {
    LinkRig r;
    auto calls = feedBearings(r, 57, kPacket);
    const std::map<int, Calls> expected = {
        {1, {"DrawLine"}},
        {3, {"DrawLine", "Draw_Meter"}},
        {19, {"DrawLine", "CompassUpdate"}},
        {24, {"DrawLine", "DrawDigitalDOA", "Draw_Meter"}},
        {38, {"DrawLine", "CompassUpdate"}},
        {48, {"DrawLine", "DrawDigitalDOA", "Draw_Meter"}},
        {50, {"DrawLine"}},
        {51, {"DrawLine"}},
        {53, {"DrawLine", "Draw_Meter"}},  // number 3 of the second cycle
        {57, {"DrawLine", "Draw_Meter"}},  // number 7: no meter in the first cycle at 7
    };
    for (const auto& [n, want] : expected) {
        if (n == 57) {
            continue;
        }
        EXPECT_EQ(calls[n], want) << "packet " << n;
    }
    EXPECT_EQ(calls[57], Calls{"DrawLine"});
    EXPECT_EQ(r.st.link.BPacketCount, 7);

    std::map<std::string, int> totals;
    for (int i = 1; i <= 50; ++i) {
        for (const auto& c : calls[i]) {
            ++totals[c];
        }
    }
    EXPECT_EQ(totals["DrawLine"], 50);
    EXPECT_EQ(totals["DrawDigitalDOA"], 2);
    EXPECT_EQ(totals["CompassUpdate"], 2);
    EXPECT_EQ(totals["Draw_Meter"], 16);
}

TEST(Dispatch, DirectionFindingOffStillCountsAndKeepsCompassAndMeters) {
    LinkRig r;
    r.st.status.DF_Enabled = false;
    auto calls = feedBearings(r, 50, kPacket);
    EXPECT_EQ(calls[24], Calls{"Draw_Meter"});
    EXPECT_EQ(calls[19], Calls{"CompassUpdate"});
    EXPECT_TRUE(calls[1].empty());
    EXPECT_EQ(r.st.link.BPacketCount, 0);
}

struct MeterCase {
    std::string fields;  // positions 10-12
    std::string call;    // "" when no meter moves
};

TEST(Dispatch, MeterUpdateReadsPositions10To12) {
    const std::vector<MeterCase> cases = {
        {"S42", "S,42"},
        {"X07", "T,7"},
        {"T99", "T,99"},
        {"S00", "S,0"},
        {"S4A", ""},
        {"S-1", ""},
        {"S 4", ""},
        {std::string("\0"
                     "12",
                     3),
         "T,12"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.fields);
        LinkRig r;
        r.st.link.RxBuffer = "B20482048" + c.fields + "999P\r\n";
        r.dispatch.MeterUpdate();
        if (c.call.empty()) {
            EXPECT_TRUE(r.decoders.calls.empty());
        } else {
            ASSERT_EQ(r.decoders.calls.size(), 1u);
            EXPECT_EQ(r.decoders.calls[0].args, c.call);
        }
    }
}

TEST(Dispatch, OnlyAShownPositionReArmsTheGpsTimeOut) {
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown);
        LinkRig r;
        r.decoders.gpsShown = shown;
        r.st.link.GPSTimedOut = 1;
        r.st.link.RxBuffer = "D-3352123415112345\r\n";
        r.dispatch.gps();
        EXPECT_EQ(r.decoders.names(), Calls{"GPSDisplay"});
        EXPECT_EQ(r.GPSTimeOut.isRunning(), shown);
        EXPECT_EQ(r.st.link.GPSTimedOut, shown ? 0 : 1);
    }
}

TEST(Dispatch, BearingPacketWithoutItsLineEndCountsButDrawsNothing) {
    // Each lost one character, so the 18 taken run into the next packet.
    for (const std::string damaged : {"B3068204S42045P\r\nB", "B306820 S42045P\r\nBB",
                                      "B3068204 S42045P\rB", "B3068204 S42045P\nB"}) {
        SCOPED_TRACE(damaged);
        LinkRig r;
        auto calls = feedBearings(r, 50, damaged);
        EXPECT_TRUE(r.decoders.calls.empty());
        EXPECT_EQ(r.st.link.BPacketCount, 0);
        feedBearings(r, 3, kPacket);
        EXPECT_EQ(r.decoders.names(), (Calls{"DrawLine", "DrawLine", "DrawLine", "Draw_Meter"}));
    }
}

}  // namespace
}  // namespace kestrova::testing
