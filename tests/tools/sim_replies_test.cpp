#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/sim/Replies.h"

namespace kestrova::sim {
namespace {

const std::string kGood = "AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT,REL\r\n";
const std::string kBearing = "B30682048S42045P\r\n";
const std::string kGps = "D-33521220+151125580\r\n";

TEST(SimExpectedReply, StatusLineCases) {
    struct Case {
        std::string line;
        Reply want;
    };
    const Case cases[] = {
        {kGood, Reply::Ack},
        {"AFM/S,IF 25,GND,LCL,HIGH,02,RCV,BAT,REL\r\n", Reply::Ack},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,DIM\r\n", Reply::Ack},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,CLS,REL", Reply::Ack},      // no line end
        {"AFM/S,IF 25,XYZ,LCL,HIGH,02,HNT,BRT,REL\r\n", Reply::Ack},  // other mount: ignored
        {"AFM/S,IF 25,AIR,LCL,HIGH,xx,HNT,BRT,REL\r\n", Reply::Ack},  // bad band: kept
        {"A,FM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT\r\n", Reply::Ack},     // comma at 2 joins field 1
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,SCN,BRT,REL\r\n", Reply::Reject},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,hnt,BRT,REL\r\n", Reply::Reject},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,LOW,REL\r\n", Reply::Reject},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BA\r\n", Reply::Reject},    // CR read as the 3rd
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,,BRT,REL\r\n", Reply::Reject},  // empty field 7 is ",BRT"
        {"AFM/S,IF 25,GRND,LCL,HIGH,02,HNT,BRT,REL\r\n", Reply::None},
        {"AFM/S,IF 25,AI,LCL,HIGH,02,SCN,LOW,REL\r\n", Reply::None},  // stops before 7 and 8
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT\r\n", Reply::Undefined},    // six commas
        {"AFM/S,IF 25,AIR,LCL\r\nAX,Y,Z,1,2,3,HNT,BRT\r\n", Reply::Undefined},  // only to LF
        {"A" + std::string(250, 'x') + ",IF 25,AIR,LCL,HIGH,02,HNT,BRT\r\n", Reply::Undefined},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(expectedStatusReply(c.line), c.want) << c.line;
    }
}

TEST(SimAnswerParser, SplitsAnswersAcrossChunks) {
    struct Case {
        std::vector<std::string> chunks;
        AnswerCounts want;  // nul, ack, reject, stray
    };
    using namespace std::string_literals;
    const Case cases[] = {
        {{"\0"s}, {1, 0, 0, 0}},
        {{"\r\n"}, {0, 1, 0, 0}},
        {{"\a\r\n"}, {0, 0, 1, 0}},
        {{"\a", "\r", "\n"}, {0, 0, 1, 0}},
        {{"\r", "\n\0"s, "\0"s}, {2, 1, 0, 0}},
        {{"\a\0\r"s, "\n"}, {1, 0, 1, 0}},  // a stay-alive between the bytes of a rejection
        {{"\r\r\n"}, {0, 1, 0, 1}},
        {{"\a\a\r\n"}, {0, 0, 1, 1}},
        {{"\a\rx\r\n"}, {0, 1, 0, 3}},
        {{"\n", "x"}, {0, 0, 0, 2}},
        {{"\r\n\a\r"}, {0, 1, 0, 2}},  // cut off at the end of the run
    };
    for (const auto& c : cases) {
        AnswerParser p;
        for (const auto& chunk : c.chunks) {
            p.feed(chunk);
        }
        p.finish();
        const AnswerCounts& got = p.counts();
        EXPECT_EQ(got.nul, c.want.nul);
        EXPECT_EQ(got.ack, c.want.ack);
        EXPECT_EQ(got.reject, c.want.reject);
        EXPECT_EQ(got.stray, c.want.stray);
    }
}

TEST(SimAnswerParser, EverySplitPointGivesTheSameCounts) {
    using namespace std::string_literals;
    const std::string stream = "\0\r\n\a\r\n\0\0\r\n\a\0\r\n\r\n"s;
    for (std::size_t a = 0; a <= stream.size(); ++a) {
        for (std::size_t b = a; b <= stream.size(); ++b) {
            AnswerParser p;
            p.feed(stream.substr(0, a));
            p.feed(stream.substr(a, b - a));
            p.feed(stream.substr(b));
            p.finish();
            EXPECT_EQ(p.counts().nul, 4);
            EXPECT_EQ(p.counts().ack, 3);
            EXPECT_EQ(p.counts().reject, 2);
            EXPECT_EQ(p.counts().stray, 0);
        }
    }
}

TEST(SimFramer, CutsLikeTheDisplay) {
    using K = Framer::Kind;
    struct Case {
        std::string stream;
        std::vector<K> kinds;
    };
    const Case cases[] = {
        {kBearing + kGood + kGps, {K::Bearing, K::Status, K::Gps}},
        // A cut bearing eats the start of the next one; the remains go as garbage.
        {"B3068204" + kBearing + kBearing, {K::Bearing, K::Unrecognised, K::Bearing}},
        // A status line without its line end runs on through the bearing behind it.
        {kGood.substr(0, kGood.size() - 2) + kBearing + kGps, {K::Status, K::Gps}},
        {"a" + kGood.substr(1) + kBearing, {K::Unrecognised, K::Bearing}},
        {std::string(430, 'x') + kBearing, {K::Unrecognised, K::Unrecognised}},
        {kGood.substr(0, 10), {}},
    };
    for (const auto& c : cases) {
        Framer f;
        f.push(c.stream);
        std::vector<K> got;
        Framer::Packet p;
        while (f.pop(p)) {
            got.push_back(p.kind);
        }
        EXPECT_EQ(got, c.kinds) << c.stream;
    }
}

std::string bearings(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
        s += kBearing;
    }
    return s;
}

const std::string kReject = "AFM/S,IF 25,AIR,LCL,HIGH,02,SCN,BRT,REL\r\n";
const std::string kSilent = "AFM/S,IF 25,GRND,LCL,HIGH,02,HNT,BRT,REL\r\n";
const std::string kAntenna = "CKVA-210,118-137/0\r\n";

TEST(SimReplyLedger, ExpectationPerStream) {
    struct Case {
        const char* name;
        std::string stream;
        std::size_t chunk;  // delivery chunk size
        bool dropAtEnd;     // the display goes away right after the stream
        Expectation want;   // ack min..max, reject min..max
    };
    // The first 512 characters after connecting are taken as unsure.
    const std::string lead = bearings(30);
    const std::string garbage = "x#y%z";
    const Case cases[] = {
        {"clean",
         lead + kGood + kBearing + kReject + kSilent + kAntenna + kGps + bearings(3),
         19,
         false,
         {2, 2, 1, 1}},
        {"byte by byte", lead + kGood + kReject + kAntenna, 1, false, {2, 2, 1, 1}},
        {"lost line end keeps the answer",
         lead + kGood.substr(0, kGood.size() - 2) + kBearing,
         19,
         false,
         {1, 1, 0, 0}},
        {"status swallowed by a GPS line without its end",
         lead + kGps.substr(0, kGps.size() - 2) + kGood,
         19,
         false,
         {0, 0, 0, 0}},
        {"lower-case status draws nothing",
         lead + "a" + kGood.substr(1) + bearings(30),
         19,
         false,
         {0, 0, 0, 0}},
        {"behind garbage, stream goes on",
         lead + garbage + kBearing + kGood + bearings(30),
         19,
         false,
         {1, 1, 0, 0}},
        {"behind garbage, stream ends",
         lead + garbage + kBearing + kGood + bearings(5),
         19,
         false,
         {0, 1, 0, 0}},
        {"display leaves", lead + kGood + kAntenna, 19, true, {0, 2, 0, 0}},
        {"right after connecting", kGood + bearings(30), 19, false, {0, 1, 0, 0}},
        {"lost sync",
         lead + std::string(500, 'x') + kBearing + kGood + bearings(60),
         19,
         false,
         {0, 1, 0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReplyLedger ledger(0.3);
        ledger.deliver(kGood, 0.0);  // before the display connects: ignored
        ledger.connect();
        double t = 1.0;
        for (std::size_t at = 0; at < c.stream.size(); at += c.chunk) {
            ledger.deliver(std::string_view(c.stream).substr(at, c.chunk), t);
            t += 0.01;
        }
        if (c.dropAtEnd) {
            ledger.disconnect(t);
        }
        ledger.finish(t + 0.5);
        const Expectation e = ledger.expectation();
        EXPECT_EQ(e.ackMin, c.want.ackMin);
        EXPECT_EQ(e.ackMax, c.want.ackMax);
        EXPECT_EQ(e.rejectMin, c.want.rejectMin);
        EXPECT_EQ(e.rejectMax, c.want.rejectMax);
    }
}

TEST(SimReplyLedger, AnswersStillDueAtTheEndAreNotRequired) {
    ReplyLedger ledger(0.3);
    ledger.connect();
    ledger.deliver(bearings(30) + kGood, 1.0);
    ledger.finish(1.1);  // the display had 0.1 s: too little to insist
    EXPECT_EQ(ledger.expectation().ackMin, 0);
    EXPECT_EQ(ledger.expectation().ackMax, 1);
}

TEST(SimJudge, StayAliveRateAndAnswerRanges) {
    struct Case {
        long nul;
        double seconds;
        bool ok;
    };
    const Case rates[] = {{4, 2.0, true}, {3, 2.0, true},  {2, 2.0, false}, {6, 2.0, false},
                          {47, 30, true}, {46, 30, false}, {73, 30, true},  {74, 30, false},
                          {0, 0.3, true}, {1, 0.0, false}};
    for (const auto& c : rates) {
        EXPECT_EQ(stayAliveRateOk(c.nul, c.seconds), c.ok) << c.nul << " in " << c.seconds;
    }

    const Expectation want{3, 4, 1, 1};
    struct Verdicts {
        AnswerCounts got;
        double seconds;
        const char* problem;  // nullptr: fine
    };
    const Verdicts verdicts[] = {
        {{20, 3, 1, 0}, 10, nullptr},
        {{20, 4, 1, 0}, 10, nullptr},
        {{20, 5, 1, 0}, 10, "5 ack, expected 3..4"},
        {{20, 2, 1, 0}, 10, "2 ack, expected 3..4"},
        {{20, 3, 0, 0}, 10, "0 rej, expected 1..1"},
        {{20, 3, 1, 2}, 10, "2 stray bytes"},
        {{5, 3, 1, 0}, 10, "5 nul in 10.0 s"},
        {{0, 3, 1, 0}, 0, "no display connected"},
    };
    for (const auto& v : verdicts) {
        const Verdict got = judge(v.got, want, v.seconds);
        EXPECT_EQ(got.ok, v.problem == nullptr) << got.problems;
        if (v.problem) {
            EXPECT_NE(got.problems.find(v.problem), std::string::npos) << got.problems;
        }
    }
}

}  // namespace
}  // namespace kestrova::sim
