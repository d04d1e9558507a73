#include <gtest/gtest.h>

#include "tests/fakes/LinkRig.h"

namespace kestrova::testing {
namespace {

const std::string kBearing = "B3068204 S42045P\r\n";  // 18 characters

TEST(RxPoll, EmptyBufferIsAnIdleTickOnly) {
    LinkRig r;
    r.ticks(1);
    EXPECT_EQ(r.st.link.IdleTickCount, 1);
    EXPECT_EQ(r.st.link.BusyTickCount, 0);
    EXPECT_TRUE(r.decoders.calls.empty());
}

TEST(RxPoll, BearingIsTakenByLengthAlone) {
    ASSERT_EQ(kBearing.size(), 18u);
    LinkRig r;
    r.line.incoming = kBearing.substr(0, 17);
    r.ticks(3);
    EXPECT_TRUE(r.decoders.calls.empty());
    EXPECT_EQ(r.st.link.RxBuffer.size(), 17u);

    r.line.incoming = kBearing.substr(17) + "XYZ";
    r.ticks(1);
    ASSERT_EQ(r.decoders.names(), std::vector<std::string>{"DrawLine"});
    EXPECT_EQ(r.decoders.calls[0].rxHead.substr(0, 18), kBearing);
    EXPECT_EQ(r.st.link.RxBuffer, "XYZ");
}

TEST(RxPoll, OnePacketPerTickAndHandlerSeesItsPacketAtTheHead) {
    LinkRig r;
    r.line.incoming = "AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT,REL\r\nD-3352123415112345\r\n";
    r.ticks(1);
    ASSERT_EQ(r.decoders.names(), std::vector<std::string>{"ProcessStatusString"});
    EXPECT_EQ(r.decoders.calls[0].rxHead.rfind("AFM/S", 0), 0u);
    EXPECT_EQ(r.st.link.RxBuffer, "D-3352123415112345\r\n");
    r.ticks(1);
    EXPECT_EQ(r.decoders.names().back(), "GPSDisplay");
    EXPECT_EQ(r.decoders.calls.back().rxHead, "D-3352123415112345\r\n");
    EXPECT_TRUE(r.st.link.RxBuffer.empty());
}

TEST(RxPoll, LineTypesWaitForTheirLineEnd) {
    for (const char* head : {"AFM/S,IF", "CQAX,100-200", "D-33521234"}) {
        SCOPED_TRACE(head);
        LinkRig r;
        r.line.incoming = head;
        r.ticks(5);
        EXPECT_TRUE(r.decoders.calls.empty());
        r.line.incoming = "\r\nB";
        r.ticks(1);
        ASSERT_EQ(r.decoders.calls.size(), 1u);
        EXPECT_EQ(r.st.link.RxBuffer, "B");
    }
}

TEST(RxPoll, AntennaHandlerGetsTheLineWithItsCrLfAndAcknowledges) {
    LinkRig r;
    r.line.incoming = "CANT UNKNOWN\r\nA";
    r.ticks(1);
    ASSERT_EQ(r.decoders.calls.size(), 1u);
    EXPECT_EQ(r.decoders.calls[0].name, "LoadAntSettings");
    EXPECT_EQ(r.decoders.calls[0].args, "CANT UNKNOWN\r\n|ack");
}

TEST(RxPoll, LostLineEndSwallowsTheNextLine) {
    LinkRig r;
    r.line.incoming = "DLOST-LF" + kBearing;
    r.ticks(1);
    EXPECT_EQ(r.decoders.names(), std::vector<std::string>{"GPSDisplay"});
    EXPECT_TRUE(r.st.link.RxBuffer.empty());
}

struct ResyncCase {
    const char* name;
    std::string buffer;
    std::string left;  // after one tick
    bool pktCorr;
};

TEST(RxPoll, ResynchronisesOnlyAt421Characters) {
    const std::string line420 = std::string(419, 'x') + "\n";
    const std::vector<ResyncCase> cases = {
        {"420 unknown characters wait", line420, line420, false},
        {"421 with a line end drop one line", line420 + "B", "B", true},
        {"430 without a line end empty the buffer", std::string(430, 'q'), "", true},
        {"lower-case b is unknown", "b" + std::string(420, '1'), "", true},
        {"first line only", "zz\n" + std::string(418, '1') + "\nA", std::string(418, '1') + "\nA",
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig r;
        r.line.incoming = c.buffer;
        r.ticks(1);
        EXPECT_EQ(r.st.link.RxBuffer, c.left);
        EXPECT_EQ(r.display.text(El::Textbox2), c.pktCorr ? "Pkt Corr" : "");
        EXPECT_TRUE(r.decoders.calls.empty());
    }
}

TEST(RxPoll, GarbageThenStreamRecoversOneLinePerTick) {
    LinkRig r;
    std::string garbage;
    for (int i = 0; i < 30; ++i) {
        garbage += "#garbage line#\r\n";  // 16 each: 480 characters
    }
    r.line.incoming = garbage + kBearing;
    int ticks = 0;
    while (r.decoders.calls.empty() && ticks < 100) {
        r.ticks(1);
        ++ticks;
    }
    // Dropping stops once fewer than 421 characters remain; the rest waits for more data.
    EXPECT_TRUE(r.decoders.calls.empty());
    EXPECT_EQ(r.display.text(El::Textbox2), "Pkt Corr");
    r.line.incoming = std::string(420, '#');
    for (int i = 0; i < 100 && r.decoders.calls.empty(); ++i) {
        r.ticks(1);
    }
    EXPECT_EQ(r.decoders.names(), std::vector<std::string>{"DrawLine"});
}

struct OverflowCase {
    const char* name;
    std::string buffer;
    std::size_t cutTo;
    const char* word;
};

TEST(RxPoll, OverflowCheckAtTheFiftiethBusyTick) {
    // Each buffer starts with a bearing packet, which the same tick then removes (18).
    auto buffer = [](std::initializer_list<std::size_t> lineEnds, std::size_t size = 700) {
        std::string b = kBearing + std::string(size - kBearing.size(), 'x');
        for (std::size_t p : lineEnds) {
            b[p - 1] = '\n';
        }
        return b;
    };
    const std::vector<OverflowCase> cases = {
        {"cut after the line end at 120", buffer({120, 300}), 120, ""},
        {"line end at 99 itself", buffer({99}), 99, ""},
        {"no line end from 99 on", buffer({}), 99, "Pkt Err"},
        {"line end before 99 only", buffer({50}), 99, "Pkt Err"},
        {"exactly 650 is not cut", buffer({}, 650), 650, ""},
        {"651 is cut", buffer({}, 651), 99, "Pkt Err"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig r;
        r.st.link.BusyTickCount = 49;
        r.st.link.RxBuffer = c.buffer;
        r.ticks(1);
        EXPECT_EQ(r.st.link.BusyTickCount, 0);
        EXPECT_EQ(r.st.link.RxBuffer.size(), c.cutTo - 18);
        EXPECT_EQ(r.display.text(El::Textbox2), c.word);
        EXPECT_EQ(r.decoders.calls.size(), 1u);
    }
}

TEST(RxPoll, OverflowCheckWaitsForFiftyBusyTicks) {
    LinkRig r;
    r.st.link.BusyTickCount = 48;
    r.st.link.RxBuffer = "B" + std::string(699, 'x');
    r.ticks(1);
    EXPECT_EQ(r.st.link.RxBuffer.size(), 700u - 18);
    EXPECT_EQ(r.st.link.BusyTickCount, 49);
}

TEST(RxPoll, BusyTicksCountOnlyWhenDataIsPresent) {
    LinkRig r;
    r.line.incoming = "B12";
    r.ticks(10);
    EXPECT_EQ(r.st.link.BusyTickCount, 10);
    r.st.link.RxBuffer.clear();
    r.ticks(10);
    EXPECT_EQ(r.st.link.BusyTickCount, 10);
}

struct EventCase {
    const char* name;
    std::string buffer;
    std::size_t left;
};

TEST(RxPoll, SerialEventDropsTheOldestLineAbove500) {
    std::string lf40 = std::string(501, 'x');
    lf40[39] = '\n';
    const std::vector<EventCase> cases = {
        {"501 with a line end at 40", lf40, 461},
        {"501 without a line end", std::string(501, 'x'), 0},
        {"500 is untouched", std::string(500, 'x'), 500},
        {"empty", "", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LinkRig r;
        r.st.link.RxBuffer = c.buffer;
        r.line.raiseEvent();
        EXPECT_EQ(r.st.link.RxBuffer.size(), c.left);
        EXPECT_EQ(r.display.text(El::Textbox2), "S.Over.");
    }
}

TEST(RxPoll, ClosedPortReadsNothingAndKeepsTheBuffer) {
    LinkRig r;
    r.st.link.RxBuffer = "B123";
    r.line.close();
    r.line.incoming = "lost";
    r.ticks(1);
    EXPECT_EQ(r.st.link.RxBuffer, "B123");
}

TEST(RxPoll, NulAndHighBytesAreCarriedAsCharacters) {
    LinkRig r;
    const std::string packet = std::string("C\0\xff\x80,band\r\n", 11);
    r.line.incoming = packet;
    r.ticks(1);
    ASSERT_EQ(r.decoders.calls.size(), 1u);
    EXPECT_EQ(r.decoders.calls[0].args, packet + "|ack");
}

}  // namespace
}  // namespace kestrova::testing
