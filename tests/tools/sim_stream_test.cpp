#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

#include "tools/sim/Model.h"
#include "tools/sim/Options.h"
#include "tools/sim/Replies.h"
#include "tools/sim/Stream.h"

namespace kestrova::sim {
namespace {

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

TEST(SimBearingModel, MeasurementsFollowTheWanderingBearing) {
    Rng rng(11);
    BearingModel m(rng);
    double minStrength = 100, maxStrength = 0, travelled = 0, checked = 0;
    for (int i = 0; i < 6000; ++i) {  // one minute of packets
        const double before = m.bearing();
        m.advance(0.01);
        travelled += std::fabs(std::remainder(m.bearing() - before, 360.0));
        minStrength = std::min(minStrength, m.strength());
        maxStrength = std::max(maxStrength, m.strength());
        const Vector v = m.measure();
        ASSERT_LE(std::hypot(v.x, v.y), 100.0 + 1e-9);
        if (m.strength() > 60) {
            // A strong signal points where the emitter is, within a few scatter widths.
            const double seen = std::atan2(v.x, v.y) * 180 / std::numbers::pi;
            EXPECT_LT(std::fabs(std::remainder(seen - m.bearing(), 360.0)), 25.0);
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
    EXPECT_TRUE(travelled > 10 && travelled < 3600) << travelled;  // wanders, but not wildly
    EXPECT_GT(maxStrength - minStrength, 30.0);                    // the signal fades and returns
}

TEST(SimGenerator, SameSeedSameBytesOtherSeedOtherBytes) {
    Options a, b;
    b.seed = 8;
    EXPECT_EQ(generate(a, 5).bytes, generate(a, 5).bytes);
    EXPECT_NE(generate(a, 5).bytes, generate(b, 5).bytes);
}

TEST(SimGenerator, AMinuteOfTheDefaultStream) {
    const Sent r = generate(Options{}, 60);
    // Schedules: status and GPS once a second, antenna at start and at 40 s.
    EXPECT_NEAR(static_cast<double>(r.count(K::Status)), 57, 3);  // less the 3.5 s pause
    EXPECT_NEAR(static_cast<double>(r.count(K::Gps)), 50, 3);  // less the pause and the 7 s GPS gap
    EXPECT_EQ(r.count(K::Antenna), 2);
    EXPECT_EQ(r.count(K::Unrecognised), 0);
    EXPECT_GT(r.count(K::Bearing), 5000);
    EXPECT_EQ(r.silences, std::vector<double>{3.5});  // longer than the link-loss time-out

    bool noCompass = false, compass = false, tune = false, strength = false;
    for (const auto& [kind, t, begin] : r.packets) {
        if (kind == K::Bearing) {
            const std::string heading = t.substr(12, 3);
            noCompass |= heading == "999" && t[15] == 'N';
            compass |= heading != "999" && std::stoi(heading) < 360 && t[15] == 'P';
            tune |= t[9] == 'T';
            strength |= t[9] == 'S';
        }
    }
    EXPECT_TRUE(noCompass && compass && tune && strength);
}

TEST(SimGenerator, BuiltInCycleCoversTheOperatorCases) {
    const auto lines = StreamGenerator::builtInCycle();
    std::map<Reply, int> n;
    std::string all;
    for (const auto& l : lines) {
        ++n[expectedStatusReply(l)];
        all += l;
    }
    EXPECT_EQ(n[Reply::Reject], 2);
    EXPECT_EQ(n[Reply::None], 1);
    EXPECT_EQ(n[Reply::Ack], static_cast<int>(lines.size()) - 3);
    for (const char* t : {",HNT,", ",RCV,", ",BAT", ",BRT", ",AIR,", ",GND,", ",01,", ",02,"}) {
        EXPECT_NE(all.find(t), std::string::npos) << t;
    }
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
        {{"--duration"}, "--duration needs a value"},
        {{"--duration", "0"}, "--duration needs a number of seconds above 0"},
        {{"--bogus"}, "unknown flag --bogus"},
        {{"--verbose=yes"}, "--verbose takes no value"},
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
