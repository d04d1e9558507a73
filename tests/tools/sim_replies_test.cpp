#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "tools/sim/Replies.h"

namespace kestrova::sim {
namespace {

const std::string kGood = "AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT,REL\r\n";
const std::string kReject = "AFM/S,IF 25,AIR,LCL,HIGH,02,SCN,BRT,REL\r\n";
const std::string kSilent = "AFM/S,IF 25,GRND,LCL,HIGH,02,HNT,BRT,REL\r\n";
const std::string kBearing = "B30682048S42045P\r\n";
const std::string kAntenna = "CKVA-210,118-137/0\r\n";
const std::string kGps = "D-33521220+151125580\r\n";

std::string bearings(int n) {
    return n == 0 ? "" : kBearing + bearings(n - 1);
}

TEST(SimExpectedReply, StatusLineCases) {
    const std::pair<std::string, Reply> cases[] = {
        {kGood, Reply::Ack},
        {"AFM/S,IF 25,GND,LCL,HIGH,02,RCV,BAT,REL\r\n", Reply::Ack},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,DIM\r\n", Reply::Ack},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,CLS,REL", Reply::Ack},      // no line end
        {"AFM/S,IF 25,XYZ,LCL,HIGH,02,HNT,BRT,REL\r\n", Reply::Ack},  // other mount: ignored
        {"AFM/S,IF 25,AIR,LCL,HIGH,xx,HNT,BRT,REL\r\n", Reply::Ack},  // bad band: kept
        {"A,FM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT\r\n", Reply::Ack},     // comma at 2 joins field 1
        {kReject, Reply::Reject},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,hnt,BRT,REL\r\n", Reply::Reject},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,LOW,REL\r\n", Reply::Reject},
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BA\r\n", Reply::Reject},    // CR read as the 3rd
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,,BRT,REL\r\n", Reply::Reject},  // empty field 7 is ",BRT"
        {kSilent, Reply::None},
        {"AFM/S,IF 25,AI,LCL,HIGH,02,SCN,LOW,REL\r\n", Reply::None},  // stops before 7 and 8
        {"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT\r\n", Reply::Undefined},    // six commas
        {"AFM/S,IF 25,AIR,LCL\r\nAX,Y,Z,1,2,3,HNT,BRT\r\n", Reply::Undefined},  // only to LF
        {"A" + std::string(250, 'x') + ",IF 25,AIR,LCL,HIGH,02,HNT,BRT\r\n", Reply::Undefined},
    };
    for (const auto& [line, want] : cases) {
        EXPECT_EQ(expectedStatusReply(line), want) << line;
    }
}

TEST(SimAnswerParser, EverySplitPointGivesTheSameCounts) {
    using namespace std::string_literals;
    const std::pair<std::string, std::tuple<long, long, long, long>> cases[] = {
        // nul, ack, reject, stray; a NUL may fall between the bytes of an answer
        {"\0\r\n\a\r\n\0\0\r\n\a\0\r\n\r\n"s, {4, 3, 2, 0}},
        {"\r\r\n", {0, 1, 0, 1}},
        {"\a\a\r\n", {0, 0, 1, 1}},
        {"\a\rx\r\n", {0, 1, 0, 3}},
        {"\nx\r", {0, 0, 0, 3}},
        {"\r\n\a\r", {0, 1, 0, 2}},  // cut off at the end of the run
    };
    for (const auto& [stream, want] : cases) {
        for (std::size_t a = 0; a <= stream.size(); ++a) {
            for (std::size_t b = a; b <= stream.size(); ++b) {
                AnswerParser p;
                p.feed(stream.substr(0, a));
                p.feed(stream.substr(a, b - a));
                p.feed(stream.substr(b));
                p.finish();
                const AnswerCounts& c = p.counts();
                EXPECT_EQ(std::tie(c.nul, c.ack, c.reject, c.stray), want) << a << "/" << b;
            }
        }
    }
}

TEST(SimReplyLedger, ExpectationPerStream) {
    // The first 512 characters after connecting are taken as unsure.
    const std::string lead = bearings(30), garbage = "x#y%z" + kBearing;
    const std::tuple<std::string, double, Expectation> cases[] = {
        // stream; when the display goes away after the stream; ack min..max, reject min..max
        {lead + kGood + kBearing + kReject + kSilent + kAntenna + kGps, 0.5, {2, 2, 1, 1}},
        // Behind garbage an answer is due only once the display resynchronises.
        {lead + garbage + kGood + bearings(30), 0.5, {1, 1, 0, 0}},
        {lead + garbage + kGood + bearings(5), 0.5, {0, 1, 0, 0}},
        // Leaving right away, or right after connecting: the display may not have answered.
        {lead + kGood + kAntenna, 0, {0, 2, 0, 0}},
        {kGood + bearings(30), 0.5, {0, 1, 0, 0}},
        // No line end in the first 421 characters of garbage (one arrives in the same chunk as
        // the 421st): the display cuts its buffer there and the framing after it is a guess.
        {lead + std::string(405, 'x') + kBearing + kGood + bearings(60), 0.5, {0, 1, 0, 1}},
    };
    for (const auto& [stream, leave, want] : cases) {
        ReplyLedger ledger(0.3);
        ledger.deliver(kGood, 0.0);  // before the display connects: ignored
        ledger.connect();
        double t = 1.0;
        for (std::size_t at = 0; at < stream.size(); at += 19, t += 0.01) {
            ledger.deliver(std::string_view(stream).substr(at, 19), t);
        }
        ledger.finish(t + leave);
        const Expectation e = ledger.expectation();
        EXPECT_EQ(std::tie(e.ackMin, e.ackMax, e.rejectMin, e.rejectMax),
                  std::tie(want.ackMin, want.ackMax, want.rejectMin, want.rejectMax))
            << stream;
    }
}

TEST(SimJudge, StayAliveRateAndAnswerRanges) {
    // 1.6 to 2.4 NULs a second, one more or less; acks 3..4 and rejections 1..1 expected.
    const std::tuple<AnswerCounts, double, const char*> cases[] = {
        // nul, ack, reject, stray; seconds connected; the problem, nullptr when fine
        {{47, 3, 1, 0}, 30, nullptr},
        {{73, 4, 1, 0}, 30, nullptr},
        {{0, 3, 1, 0}, 0.3, nullptr},
        {{46, 3, 1, 0}, 30, "46 nul in 30.0 s"},
        {{74, 3, 1, 0}, 30, "74 nul in 30.0 s"},
        {{20, 5, 1, 0}, 10, "5 ack, expected 3..4"},
        {{20, 2, 1, 0}, 10, "2 ack, expected 3..4"},
        {{20, 3, 0, 0}, 10, "0 rej, expected 1..1"},
        {{20, 3, 1, 1}, 10, "1 stray bytes"},
        {{0, 3, 1, 0}, 0, "no display connected"},
    };
    for (const auto& [got, seconds, problem] : cases) {
        const Verdict v = judge(got, {3, 4, 1, 1}, seconds);
        EXPECT_EQ(v.ok, problem == nullptr) << v.problems;
        EXPECT_TRUE(!problem || v.problems.find(problem) != std::string::npos) << v.problems;
    }
}

}  // namespace
}  // namespace kestrova::sim
