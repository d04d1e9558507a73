// Framing and dispatch: from the receive buffer to the decoders.
#include <gtest/gtest.h>

#include <map>

#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

const std::string kBearing = "B3068204 S42045P\r\n";  // 18 characters
// Its record: the y field is no number.
const std::string kBearingRecord = "DrawLine(B3068    S42045P\r\n)";
const std::string kStatus = "AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT,REL\r\n";

// The calls made, as "name" or "name(args)", records as packet text.
std::string calls(const LinkRig& r) {
    std::string out;
    for (const auto& c : r.decoders.calls) {
        out += (out.empty() ? "" : " ") + c.name + (c.args.empty() ? "" : "(" + c.args + ")");
    }
    return out;
}

// Bytes on the line, n ticks: the calls, what is left, the word in the diagnostic box.
TEST(RxPoll, FramesOnePacketPerTick) {
    const std::string line420 = std::string(419, 'x') + "\n";
    const std::tuple<const char*, std::string, int, std::string, std::string, const char*> cases[] =
        {
            {"idle", "", 1, "", "", ""},
            {"a bearing waits for its 18th", kBearing.substr(0, 17), 3, "", kBearing.substr(0, 17),
             ""},
            {"a bearing is taken by length", kBearing + "XYZ", 1, kBearingRecord, "XYZ", ""},
            {"one packet a tick", kStatus + "D-33521234+151123456\r\n", 1,
             "ProcessStatusString(" + kStatus + ")", "D-33521234+151123456\r\n", ""},
            {"the next tick", kStatus + "D-33521234+151123456\r\n", 2,
             "ProcessStatusString(" + kStatus + ") GPSDisplay(D-33521234+151123456\r\n)", "", ""},
            {"status waits for LF", "AFM/S,IF", 5, "", "AFM/S,IF", ""},
            {"antenna waits for LF", "CQAX,100-200", 5, "", "CQAX,100-200", ""},
            {"GPS waits for LF", "D-33521234", 5, "", "D-33521234", ""},
            {"antenna line with its CR LF", "CANT UNKNOWN\r\nA", 1,
             "LoadAntSettings(CANT UNKNOWN\r\n|ack)", "A", ""},
            {"NUL and high bytes", std::string("C\0\xff\x80,b\r\n", 8), 1,
             "LoadAntSettings(" + std::string("C\0\xff\x80,b/0\r\n", 10) + "|ack)", "", ""},
            {"a lost LF swallows the next", "D-33521234+151123456" + kBearing, 1,
             "GPSDisplay(D-33521234+151123456\r\n)", "", ""},
            {"420 unknown characters wait", line420, 1, "", line420, ""},
            {"421 drop one line", line420 + "B", 1, "", "B", "Pkt Corr"},
            {"430 without LF empty the buffer", std::string(430, 'q'), 1, "", "", "Pkt Corr"},
            {"lower-case b is unknown", "b" + std::string(420, '1'), 1, "", "", "Pkt Corr"},
            {"first line only", "zz\n" + std::string(418, '1') + "\nA", 1, "",
             std::string(418, '1') + "\nA", "Pkt Corr"},
        };
    for (const auto& [name, in, ticks, want, left, word] : cases) {
        SCOPED_TRACE(name);
        LinkRig r;
        r.line.incoming = in;
        r.tick(ticks);
        EXPECT_EQ(calls(r), want);
        EXPECT_EQ(r.st.link.RxBuffer, left);
        EXPECT_EQ(r.window.text(El::Textbox2), word);
        if (in.empty()) {
            EXPECT_EQ(r.st.link.IdleTickCount, 1);
        }
        EXPECT_EQ(r.st.link.BusyTickCount, in.empty() ? 0 : ticks);
    }
}

// At the 50th busy tick a buffer past 650 is cut after its first line end from 99 on, or to 99.
TEST(RxPoll, OverflowCheckAtTheFiftiethBusyTick) {
    auto buffer = [](std::initializer_list<std::size_t> lineEnds, std::size_t size = 700) {
        std::string b = kBearing + std::string(size - kBearing.size(), 'x');
        for (std::size_t p : lineEnds) {
            b[p - 1] = '\n';
        }
        return b;
    };
    const std::tuple<std::string, int, std::size_t, const char*> cases[] = {
        {buffer({120, 300}), 49, 120, ""}, {buffer({99}), 49, 99, ""},
        {buffer({}), 49, 99, "Pkt Err"},   {buffer({50}), 49, 99, "Pkt Err"},
        {buffer({}, 650), 49, 650, ""},    {buffer({}, 651), 49, 99, "Pkt Err"},
        {buffer({}), 48, 700, ""},
    };
    for (const auto& [in, busy, cutTo, word] : cases) {
        SCOPED_TRACE(::testing::Message() << in.size() << " " << busy << " " << cutTo);
        LinkRig r;
        r.st.link.BusyTickCount = static_cast<std::uint8_t>(busy);
        r.st.link.RxBuffer = in;
        r.tick();
        EXPECT_EQ(r.st.link.BusyTickCount, busy == 49 ? 0 : 49);
        // The bearing packet at the head is handled by the same tick.
        EXPECT_EQ(r.st.link.RxBuffer.size(), cutTo - 18);
        EXPECT_EQ(r.window.text(El::Textbox2), word);
        EXPECT_EQ(calls(r), kBearingRecord);
    }
}

// A line event drops the oldest line of a buffer past 500, or all of it without a line end.
TEST(RxPoll, SerialEventDropsTheOldestLineAbove500) {
    std::string lf40 = std::string(501, 'x');
    lf40[39] = '\n';
    const std::pair<std::string, std::size_t> cases[] = {
        {lf40, 461}, {std::string(501, 'x'), 0}, {std::string(500, 'x'), 500}, {"", 0}};
    for (const auto& [in, left] : cases) {
        LinkRig r;
        r.st.link.RxBuffer = in;
        r.line.raiseEvent();
        EXPECT_EQ(r.st.link.RxBuffer.size(), left) << in.size();
        EXPECT_EQ(r.window.text(El::Textbox2), "S.Over.");
    }
}

TEST(RxPoll, ClosedPortReadsNothingAndKeepsTheBuffer) {
    LinkRig r;
    r.st.link.RxBuffer = "B123";
    r.line.close();
    r.line.incoming = "lost";
    r.tick();
    EXPECT_EQ(r.st.link.RxBuffer, "B123");
}

// Feeds n bearing packets and returns the calls each made, joined, by packet number.
std::map<int, std::string> feedBearings(LinkRig& r, int n, const std::string& packet) {
    std::map<int, std::string> byPacket;
    for (int i = 1; i <= n; ++i) {
        const std::size_t before = r.decoders.calls.size();
        r.dispatch.packet(PacketType::Bearing, packet);
        for (std::size_t k = before; k < r.decoders.calls.size(); ++k) {
            byPacket[i] += " " + r.decoders.calls[k].name;
        }
    }
    return byPacket;
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
        const auto calls = feedBearings(r, 3, kBearing);
        EXPECT_EQ(calls.at(3), " DrawLine Draw_Meter");
    }
}

}  // namespace
}  // namespace kestrova::testing
