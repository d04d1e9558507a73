// The simulator's own logic: packets, pacing, replies and their judge, the stream and replay.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "tools/sim/Model.h"
#include "tools/sim/Options.h"
#include "tools/sim/Pacing.h"
#include "tools/sim/Packets.h"
#include "tools/sim/Replies.h"
#include "tools/sim/Stream.h"

namespace kestrova::sim {
namespace {

TEST(SimPackets, ByteExact) {
    const std::pair<std::string, const char*> cases[] = {
        {formatBearing({50, 0, true, 42, 45, 'P'}), "B30682048S42045P\r\n"},
        {formatBearing({-250, 50, true, 7, -1, 'N'}), "B00003068S07999N\r\n"},
        {formatBearing({-100, -100, false, 99, 359, 'P'}), "B00080008T99359P\r\n"},
        // Raw components round half away from zero and stop at the 12-bit range.
        {formatBearing({0.02, 0.025, true, 120, 360, 'P'}), "B20482049S99000P\r\n"},
        {formatBearing({250, -0.025, false, -3, 0, 'P'}), "B40952047T00000P\r\n"},
        {FormatStatusLine(defaultStatus()), "AFM/S,IF 25,AIR,LCL,HIGH,01,HNT,BRT,REL\r\n"},
        {formatGps(-33.8687, 151.2093), "D-33521220+151125580\r\n"},
        {formatGps(0, 0), "D+00000000+000000000\r\n"},
        // Rounding carries into minutes and degrees instead of showing 60 minutes.
        {formatGps(10.999999999, -7.999999999), "D+11000000-008000000\r\n"},
        {formatGps(52.5, 190.0), "D+52300000-170000000\r\n"},
    };
    for (const auto& [got, want] : cases) {
        EXPECT_EQ(got, want);
    }
}

TEST(SimPacing, BytesAllowedAndThePacer) {
    const std::tuple<double, int, std::uint64_t> cases[] = {
        {-1, 19200, 0},         {1.0, 19200, 1920},       {0.01, 19200, 19},
        {1.0 / 1920, 19200, 1}, {0.999 / 1920, 19200, 0}, {1.0, 9600, 960}};
    for (const auto& [seconds, baud, bytes] : cases) {
        EXPECT_EQ(bytesAllowed(seconds, baud), bytes) << seconds << " s";
    }

    Pacer p;
    p.restart(0);
    std::uint64_t total = 0;
    std::size_t largest = 0;
    for (int tick = 1; tick <= 200; ++tick) {
        // 10 ms ticks that arrive a little late, never enough to exceed the burst limit.
        const std::size_t n = p.budget(tick * 0.010 + (tick % 3) * 0.002);
        p.sent(n);
        total += n;
        largest = std::max(largest, n);
    }
    EXPECT_EQ(total, bytesAllowed(2.0 + 0.004));
    EXPECT_LE(largest, 25u);

    // A stall does not catch up (burst of 96 at most); a silence carries no credit.
    p.restart(0);
    EXPECT_EQ(p.budget(0.01), 19u);
    p.sent(19);
    EXPECT_EQ(p.budget(1.0), 96u);  // held up for a second: one burst, the rest is lost
    p.sent(96);
    EXPECT_EQ(p.budget(1.0), 0u);
    EXPECT_EQ(p.budget(1.05), 96u);
    p.sent(96);
    p.restart(5.0);
    EXPECT_EQ(p.budget(5.0), 0u);
    EXPECT_EQ(p.budget(5.01), 19u);
    EXPECT_NEAR(p.nextDue(), 5.0 + 1.0 / 1920, 1e-9);
}

const std::string kGood = "AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT,REL\r\n";
const std::string kReject = "AFM/S,IF 25,AIR,LCL,HIGH,02,SCN,BRT,REL\r\n";
const std::string kSilent = "AFM/S,IF 25,GRND,LCL,HIGH,02,HNT,BRT,REL\r\n";
const std::string kBearing = "B30682048S42045P\r\n";
const std::string kAntenna = "CKVA-210,118-137/0\r\n";
const std::string kGps = "D-33521220+151125580\r\n";

std::string bearings(int n) {
    return n == 0 ? "" : kBearing + bearings(n - 1);
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

using K = Framer::Kind;

// Everything a generator sends in `seconds` of line time, framed as the display would.
struct Sent {
    std::string bytes;
    std::vector<Framer::Packet> packets;
    std::vector<double> silences;
    GeneratorTally tally;
    long count(K k) const {
        return std::count_if(packets.begin(), packets.end(),
                             [&](const auto& p) { return p.kind == k; });
    }
};

Sent generate(const Options& opt, double seconds) {
    StreamGenerator gen(opt);
    Sent r;
    Framer f;
    for (Piece p; gen.lineTime() < seconds && gen.next(p);) {
        if (p.silenceBefore > 0) {
            r.silences.push_back(p.silenceBefore);
        }
        r.bytes += p.bytes;
        f.push(p.bytes);
        for (Framer::Packet pk; f.pop(pk);) {
            r.packets.push_back(pk);
        }
    }
    r.tally = gen.tally();
    return r;
}

TEST(SimGenerator, AMinuteOfTheDefaultStream) {
    const Sent r = generate(Options{}, 60);
    Options other;
    other.seed = 8;
    EXPECT_EQ(generate(Options{}, 60).bytes, r.bytes) << "the same seed, the same bytes";
    EXPECT_NE(generate(other, 60).bytes, r.bytes);
    // Schedules: status and GPS once a second, antenna at start and at 40 s.
    EXPECT_NEAR(static_cast<double>(r.count(K::Status)), 57, 3);  // less the 3.5 s pause
    EXPECT_NEAR(static_cast<double>(r.count(K::Gps)), 50, 3);  // less the pause and the 7 s GPS gap
    EXPECT_EQ(r.count(K::Antenna), 2);
    EXPECT_EQ(r.count(K::Unrecognised), 0);
    EXPECT_GT(r.count(K::Bearing), 5000);
    EXPECT_EQ(r.silences, std::vector<double>{3.5});  // longer than the link-loss time-out

    // Bearings with and without the compass, with the S and the tune meter; status lines the
    // display acknowledges, rejects and ignores.
    bool noCompass = false, compass = false, tune = false, strength = false;
    std::map<Reply, int> replies;
    for (const auto& [kind, t, begin] : r.packets) {
        if (kind == K::Bearing) {
            const std::string heading = t.substr(12, 3);
            noCompass |= heading == "999" && t[15] == 'N';
            compass |= heading != "999" && std::stoi(heading) < 360 && t[15] == 'P';
            tune |= t[9] == 'T';
            strength |= t[9] == 'S';
        }
        replies[expectedStatusReply(t)] += kind == K::Status ? 1 : 0;
    }
    EXPECT_TRUE(noCompass && compass && tune && strength);
    EXPECT_TRUE(replies[Reply::Reject] > 0 && replies[Reply::None] > 0 &&
                replies[Reply::Ack] > replies[Reply::Reject]);
}

TEST(SimGenerator, EachFaultLeavesItsMark) {
    using P = Framer::Packet;
    const std::pair<Fault, bool (*)(const P&)> cases[] = {
        {Fault::Garbage, [](const P& p) { return p.kind == K::Unrecognised; }},
        {Fault::LowerCase, [](const P& p) { return p.text[0] >= 'a' && p.text[0] <= 'd'; }},
        {Fault::CutBearing, [](const P& p) { return p.kind == K::Bearing && p.text[17] != '\n'; }},
        {Fault::LostLineEnd,
         [](const P& p) { return p.kind == K::Status && !p.text.ends_with(",REL\r\n"); }},
    };
    for (const auto& [fault, mark] : cases) {
        SCOPED_TRACE(faultName(fault));
        Options opt;
        opt.faults[static_cast<std::size_t>(fault)] = true;
        opt.faultEvery = 1;
        const Sent r = generate(opt, 15);  // before the first automatic pause
        EXPECT_GT(r.tally.faults, 3);
        EXPECT_TRUE(std::any_of(r.packets.begin(), r.packets.end(), mark));
    }
    // Stopping and resuming splits a packet but corrupts nothing.
    Options opt;
    opt.faults[static_cast<std::size_t>(Fault::StopResume)] = true;
    const Sent r = generate(opt, 15);
    EXPECT_FALSE(r.silences.empty());
    EXPECT_EQ(r.count(K::Unrecognised), 0);
}

// What comes last before each silence: half a packet, or line noise; never a line end.
TEST(SimGenerator, ScheduledStopsLeaveNoPacketEnded) {
    std::istringstream scn("pauses off\nat 2 stop 4\nat 9 noise-stop 3\n");
    Options opt;
    ASSERT_EQ(parseScenario(scn, opt), "");
    StreamGenerator gen(opt);
    std::string before;
    std::vector<std::pair<double, std::string>> stops;  // silence, the bytes before it
    for (Piece p; gen.lineTime() < 15 && gen.next(p);) {
        if (p.silenceBefore > 0) {
            stops.emplace_back(p.silenceBefore, before);
        }
        before = p.bytes;
    }
    ASSERT_EQ(stops.size(), 2u);
    EXPECT_DOUBLE_EQ(stops[0].first, 4);
    EXPECT_NE(std::string("ABCD").find(stops[0].second[0]), std::string::npos);
    EXPECT_EQ(stops[0].second.find('\n'), std::string::npos);
    EXPECT_DOUBLE_EQ(stops[1].first, 3);
    EXPECT_EQ(stops[1].second.find_first_of("ABCD\r\n"), std::string::npos);
}

TEST(SimOptions, FlagsOverrideTheScenarioWhereverTheyStandAndErrors) {
    const std::string path = ::testing::TempDir() + "sim_options.scn";
    std::ofstream(path) << "# a tour\nduration 12.5\nseed 42\npauses off\nfault garbage\n"
                           "cycle FM/S,IF 25,GND\nat 3 pause 2.5\nat 1 status AM, IF 6\r\n"
                           "at 2 fault lower-case\n";
    const char* argv[] = {"kestrova-sim", "--duration",   "4", "--scenario", path.c_str(),
                          "--seed=9",     "--cut-bearing"};
    Options opt;
    ASSERT_EQ(parseArgs(7, argv, opt), "");
    EXPECT_EQ(std::tie(opt.duration, opt.durationSet, opt.seed, opt.pauseEvery, opt.gpsGapEvery),
              std::make_tuple(4.0, true, 9u, 0.0, 0.0));
    EXPECT_EQ(opt.faults, (std::array<bool, kFaultKinds>{true, false, true, false, false}));
    EXPECT_EQ(opt.cycle, std::vector<std::string>{"FM/S,IF 25,GND"});
    ASSERT_EQ(opt.events.size(), 3u);
    EXPECT_EQ(opt.events[0].kind, Event::Kind::Pause);
    EXPECT_DOUBLE_EQ(opt.events[0].length, 2.5);
    EXPECT_EQ(opt.events[1].text, "AM, IF 6");  // blanks kept, the CR of a DOS line end not
    EXPECT_EQ(opt.events[2].fault, Fault::LowerCase);

    std::istringstream in("# a comment\nseed -1\n");
    EXPECT_EQ(parseScenario(in, opt), "line 2: \"seed\" needs a whole number");
    const std::pair<std::vector<const char*>, const char*> cases[] = {
        {{"--duration", "0"}, "--duration needs a number of seconds above 0"},
        {{"--bogus"}, "unknown flag --bogus"},
        {{"--replay", "x.cap", "--faults"},
         "faults change the generated stream; they cannot be combined with --replay"},
    };
    for (auto [args, error] : cases) {
        args.insert(args.begin(), "kestrova-sim");
        EXPECT_EQ(parseArgs(static_cast<int>(args.size()), args.data(), opt), error);
    }
}

}  // namespace
}  // namespace kestrova::sim
