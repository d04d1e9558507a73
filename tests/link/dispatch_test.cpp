#include <gtest/gtest.h>

#include <map>

#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

const std::string kPacket = "B3068204 S42045P\r\n";

// Feeds n bearing packets and returns the calls each made, joined, by packet number.
std::map<int, std::string> feedBearings(LinkRig& r, int n, const std::string& packet) {
    std::map<int, std::string> byPacket;
    for (int i = 1; i <= n; ++i) {
        const std::size_t before = r.decoders.calls.size();
        r.st.link.RxBuffer = packet;
        r.dispatch.bearing();
        for (std::size_t k = before; k < r.decoders.calls.size(); ++k) {
            byPacket[i] += (k > before ? " " : "") + r.decoders.calls[k].name;
        }
    }
    return byPacket;
}

// The cycle of 50, with direction finding on and off: the needle on every packet, the readout
// on 24 and 48, the compass on 19 and 38, the meter on every third.
TEST(Dispatch, BearingCadenceOverACycle) {
    for (const bool df : {true, false}) {
        SCOPED_TRACE(df);
        LinkRig r;
        r.st.status.DF_Enabled = df;
        const auto calls = feedBearings(r, 107, kPacket);
        const std::string line = df ? "DrawLine" : "", sep = df ? " " : "";
        for (int i = 1; i <= 107; ++i) {
            const int n = (i - 1) % 50 + 1;
            std::string want = line;
            want += n == 19 || n == 38 ? sep + "CompassUpdate" : "";
            want += n == 24 || n == 48 ? sep + "DrawDigitalDOA" : "";
            want += n % 3 == 0 ? sep + "Draw_Meter" : "";
            if (!df) {
                want = n == 19 || n == 38 ? "CompassUpdate" : n % 3 == 0 ? "Draw_Meter" : "";
            }
            ASSERT_EQ(calls.count(i) ? calls.at(i) : "", want) << "packet " << i;
        }
        EXPECT_EQ(r.st.link.BPacketCount, 7) << "counted with direction finding off too";
    }
}

// Positions 10-12: "S" for the signal meter, anything else tune; two digits or no meter.
TEST(Dispatch, MeterUpdateReadsPositions10To12) {
    const std::pair<std::string, std::string> cases[] = {
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
    for (const auto& [fields, call] : cases) {
        LinkRig r;
        r.st.link.RxBuffer = "B20482048" + fields + "999P\r\n";
        r.dispatch.MeterUpdate();
        EXPECT_EQ(r.decoders.calls.empty() ? "" : r.decoders.calls[0].args, call) << fields;
        EXPECT_LE(r.decoders.calls.size(), 1u);
    }
}

TEST(Dispatch, OnlyAShownPositionReArmsTheGpsTimeOut) {
    for (const bool shown : {true, false}) {
        LinkRig r;
        r.decoders.gpsShown = shown;
        r.st.link.GPSTimedOut = 1;
        r.st.link.RxBuffer = "D-3352123415112345\r\n";
        r.dispatch.gps();
        EXPECT_EQ(r.decoders.names(), std::vector<std::string>{"GPSDisplay"});
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
        feedBearings(r, 50, damaged);
        EXPECT_TRUE(r.decoders.calls.empty());
        EXPECT_EQ(r.st.link.BPacketCount, 0);
        const auto calls = feedBearings(r, 3, kPacket);
        EXPECT_EQ(calls.at(3), "DrawLine Draw_Meter");
    }
}

}  // namespace
}  // namespace kestrova::testing
