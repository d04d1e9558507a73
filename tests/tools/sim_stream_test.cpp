#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <numbers>
#include <sstream>

#include "tools/sim/Model.h"
#include "tools/sim/Options.h"
#include "tools/sim/Pacing.h"
#include "tools/sim/Replies.h"
#include "tools/sim/Stream.h"

namespace kestrova::sim {
namespace {

// Everything a generator sends in `seconds` of line time, framed as the display would.
struct Sent {
    std::string bytes;
    std::vector<Framer::Packet> packets;
    std::vector<double> packetTimes;  // line time at which each packet ended
    std::vector<double> silences;
    GeneratorTally tally;
};

Sent generate(const Options& opt, double seconds) {
    StreamGenerator gen(opt);
    Sent r;
    Framer f;
    Piece p;
    while (gen.lineTime() < seconds && gen.next(p)) {
        if (p.silenceBefore > 0) {
            r.silences.push_back(p.silenceBefore);
        }
        r.bytes += p.bytes;
        f.push(p.bytes);
        Framer::Packet pk;
        while (f.pop(pk)) {
            r.packets.push_back(pk);
            r.packetTimes.push_back(gen.lineTime());
        }
    }
    r.tally = gen.tally();
    return r;
}

long countKind(const Sent& r, Framer::Kind k) {
    return std::count_if(r.packets.begin(), r.packets.end(),
                         [&](const Framer::Packet& p) { return p.kind == k; });
}

TEST(SimBearingModel, ScatterGrowsAsTheSignalFades) {
    EXPECT_LT(BearingModel::scatterDegrees(100), BearingModel::scatterDegrees(60));
    EXPECT_LT(BearingModel::scatterDegrees(60), BearingModel::scatterDegrees(20));
    EXPECT_LT(BearingModel::scatterDegrees(20), BearingModel::scatterDegrees(0));
    EXPECT_LE(BearingModel::scatterDegrees(100), 3.0);
    EXPECT_GE(BearingModel::scatterDegrees(0), 30.0);
}

TEST(SimBearingModel, MeasurementsFollowTheWanderingBearing) {
    Rng rng(11);
    BearingModel m(rng);
    double minStrength = 100, maxStrength = 0, travelled = 0;
    int checked = 0;
    for (int i = 0; i < 6000; ++i) {  // one minute of packets
        const double before = m.bearing();
        m.advance(0.01);
        travelled += std::fabs(std::remainder(m.bearing() - before, 360.0));
        minStrength = std::min(minStrength, m.strength());
        maxStrength = std::max(maxStrength, m.strength());
        const Vector v = m.measure();
        const double length = std::hypot(v.x, v.y);
        ASSERT_LE(length, 100.0 + 1e-9);
        if (m.strength() > 60) {
            // A strong signal points where the emitter is, within a few scatter widths.
            const double seen = std::atan2(v.x, v.y) * 180 / std::numbers::pi;
            EXPECT_LT(std::fabs(std::remainder(seen - m.bearing(), 360.0)), 25.0);
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
    EXPECT_GT(travelled, 10.0);                  // it wanders
    EXPECT_LT(travelled, 3600.0);                // but not wildly
    EXPECT_GT(maxStrength - minStrength, 30.0);  // the signal fades and returns
}

TEST(SimGenerator, SameSeedSameBytesOtherSeedOtherBytes) {
    Options a;
    a.seed = 7;
    Options b = a;
    b.seed = 8;
    const Sent r1 = generate(a, 5), r2 = generate(a, 5), r3 = generate(b, 5);
    EXPECT_EQ(r1.bytes, r2.bytes);
    EXPECT_NE(r1.bytes, r3.bytes);
}

TEST(SimGenerator, AMinuteOfTheDefaultStream) {
    Options opt;
    const Sent r = generate(opt, 60);
    // Schedules: status and GPS once a second, antenna at start and at 40 s.
    EXPECT_NEAR(countKind(r, Framer::Kind::Status), 57, 3);  // less the 3.5 s pause
    EXPECT_NEAR(countKind(r, Framer::Kind::Gps), 50, 3);     // less the pause and a 7 s gap
    EXPECT_EQ(countKind(r, Framer::Kind::Antenna), 2);
    EXPECT_EQ(countKind(r, Framer::Kind::Unrecognised), 0);
    EXPECT_GT(countKind(r, Framer::Kind::Bearing), 5000);
    ASSERT_EQ(r.silences.size(), 1u);
    EXPECT_DOUBLE_EQ(r.silences[0], 3.5);  // longer than 30 poll ticks + 2 s: link loss

    bool noCompass = false, compass = false, tune = false, strength = false;
    std::vector<double> gpsTimes;
    for (std::size_t i = 0; i < r.packets.size(); ++i) {
        const auto& p = r.packets[i];
        if (p.kind == Framer::Kind::Gps) {
            ASSERT_EQ(p.text.size(), 22u);
            gpsTimes.push_back(r.packetTimes[i]);
        }
        if (p.kind != Framer::Kind::Bearing) {
            continue;
        }
        ASSERT_EQ(p.text.substr(16), "\r\n");
        const int x = std::stoi(p.text.substr(1, 4)), y = std::stoi(p.text.substr(5, 4));
        ASSERT_TRUE(x >= 8 && x <= 4088 && y >= 8 && y <= 4088) << p.text;
        const std::string heading = p.text.substr(12, 3);
        noCompass |= heading == "999" && p.text[15] == 'N';
        compass |= heading != "999" && std::stoi(heading) < 360 && p.text[15] == 'P';
        tune |= p.text[9] == 'T';
        strength |= p.text[9] == 'S';
    }
    EXPECT_TRUE(noCompass && compass && tune && strength);
    double longestGpsGap = 0;
    for (std::size_t i = 1; i < gpsTimes.size(); ++i) {
        longestGpsGap = std::max(longestGpsGap, gpsTimes[i] - gpsTimes[i - 1]);
    }
    EXPECT_GT(longestGpsGap, 5.5);  // the display's GPS time-out fires
}

TEST(SimGenerator, BuiltInCycleCoversTheOperatorCases) {
    const auto lines = StreamGenerator::builtInCycle();
    int ack = 0, reject = 0, none = 0;
    for (const auto& l : lines) {
        switch (expectedStatusReply(l)) {
            case Reply::Ack:
                ++ack;
                break;
            case Reply::Reject:
                ++reject;
                break;
            case Reply::None:
                ++none;
                break;
            case Reply::Undefined:
                ADD_FAILURE() << l;
                break;
        }
    }
    EXPECT_EQ(reject, 2);
    EXPECT_EQ(none, 1);
    EXPECT_EQ(ack, static_cast<int>(lines.size()) - 3);
    const char* tokens[] = {",HNT,", ",RCV,", ",BAT", ",BRT", ",AIR,", ",GND,", ",01,", ",02,"};
    for (const char* t : tokens) {
        EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& l) {
            return l.find(t) != l.npos;
        })) << t;
    }
}

TEST(SimGenerator, EachFaultLeavesItsMark) {
    using K = Framer::Kind;
    struct Case {
        Fault fault;
        bool (*mark)(const Framer::Packet&);
    };
    const Case cases[] = {
        {Fault::Garbage, [](const Framer::Packet& p) { return p.kind == K::Unrecognised; }},
        {Fault::LowerCase,
         [](const Framer::Packet& p) {
             return p.kind == K::Unrecognised && p.text[0] >= 'a' && p.text[0] <= 'd';
         }},
        {Fault::CutBearing,
         [](const Framer::Packet& p) {
             return p.kind == K::Bearing && p.text.substr(16) != "\r\n";
         }},
        {Fault::LostLineEnd,
         [](const Framer::Packet& p) {
             return (p.kind == K::Gps && p.text.size() != 22) ||
                    (p.kind == K::Status && p.text.find("\r\n") != p.text.size() - 2) ||
                    (p.kind == K::Status && p.text.find(",REL\r\n") == std::string::npos);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(faultName(c.fault));
        Options opt;
        opt.faults[static_cast<int>(c.fault)] = true;
        opt.faultEvery = 1;
        const Sent r = generate(opt, 15);
        EXPECT_GT(r.tally.faults, 3);
        EXPECT_TRUE(std::any_of(r.packets.begin(), r.packets.end(), c.mark));
    }
    // Stopping and resuming splits a packet but corrupts nothing.
    Options opt;
    opt.faults[static_cast<int>(Fault::StopResume)] = true;
    opt.pauseEvery = 0;
    const Sent r = generate(opt, 15);
    EXPECT_FALSE(r.silences.empty());
    EXPECT_EQ(countKind(r, K::Unrecognised), 0);
}

TEST(SimOptions, ScenarioDirectivesAndErrors) {
    std::istringstream in(
        "# a tour\n"
        "duration 12.5\n"
        "seed 42\n"
        "pauses off\n"
        "fault garbage\n"
        "cycle FM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT,REL\n"
        "at 3 pause 2.5\n"
        "at 1 status AM,IF 6,GND,RMT,LOW,01,RCV,BAT\r\n"
        "at 2 fault lower-case\n");
    Options opt;
    ASSERT_EQ(parseScenario(in, opt), "");
    EXPECT_DOUBLE_EQ(opt.duration, 12.5);
    EXPECT_EQ(opt.seed, 42u);
    EXPECT_EQ(opt.pauseEvery, 0);
    EXPECT_EQ(opt.gpsGapEvery, 0);
    EXPECT_TRUE(opt.faults[static_cast<int>(Fault::Garbage)]);
    ASSERT_EQ(opt.cycle.size(), 1u);
    EXPECT_EQ(opt.cycle[0], "FM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT,REL");
    ASSERT_EQ(opt.events.size(), 3u);
    EXPECT_EQ(opt.events[0].kind, Event::Kind::Pause);
    EXPECT_DOUBLE_EQ(opt.events[0].length, 2.5);
    EXPECT_EQ(opt.events[1].text, "AM,IF 6,GND,RMT,LOW,01,RCV,BAT");
    EXPECT_EQ(opt.events[2].fault, Fault::LowerCase);

    struct Bad {
        const char* text;
        const char* error;
    };
    const Bad bad[] = {
        {"duration 0\n", "line 1: \"duration\" needs a number of seconds above 0"},
        {"\nspeed 3\n", "line 2: unknown directive \"speed\""},
        {"at x pause 1\n", "line 1: \"at\" needs a time in seconds"},
        {"at 1 pause\n", "line 1: \"at T pause\" needs a length in seconds"},
        {"fault noise\n", "line 1: unknown fault \"noise\""},
        {"at 1 explode\n", "line 1: unknown event \"explode\""},
        {"seed -1\n", "line 1: \"seed\" needs a whole number"},
    };
    for (const auto& b : bad) {
        std::istringstream s(b.text);
        Options o;
        EXPECT_EQ(parseScenario(s, o), b.error);
    }
}

TEST(SimOptions, CommandLine) {
    struct Case {
        std::vector<const char*> args;
        const char* error;  // "" when the line is accepted
    };
    const Case cases[] = {
        {{"--duration", "5", "--seed=9", "--link", "/tmp/p", "--garbage", "--no-pauses"}, ""},
        {{"--faults", "--fault-every", "2"}, ""},
        {{"--duration"}, "--duration needs a value"},
        {{"--duration", "-3"}, "--duration needs a number of seconds above 0"},
        {{"--bogus"}, "unknown flag --bogus"},
        {{"stray"}, "unexpected argument \"stray\""},
        {{"--verbose=yes"}, "--verbose takes no value"},
        {{"--replay", "x.cap", "--cut-bearing"},
         "faults change the generated stream; they cannot be combined with --replay"},
        {{"--scenario", "/nonexistent/file"}, "cannot read scenario \"/nonexistent/file\""},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"kestrova-sim"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        Options opt;
        EXPECT_EQ(parseArgs(static_cast<int>(argv.size()), argv.data(), opt), c.error);
    }
    Options opt;
    const char* argv[] = {"kestrova-sim", "--duration", "5",         "--seed=9",
                          "--link",       "/tmp/p",     "--garbage", "--no-pauses"};
    ASSERT_EQ(parseArgs(8, argv, opt), "");
    EXPECT_DOUBLE_EQ(opt.duration, 5);
    EXPECT_TRUE(opt.durationSet);
    EXPECT_EQ(opt.seed, 9u);
    EXPECT_EQ(opt.link, "/tmp/p");
    EXPECT_TRUE(opt.faults[static_cast<int>(Fault::Garbage)]);
    EXPECT_FALSE(opt.faults[static_cast<int>(Fault::LowerCase)]);
    EXPECT_EQ(opt.pauseEvery, 0);
}

TEST(SimOptions, FlagsOverrideTheScenarioWhereverTheyStand) {
    const std::string path = ::testing::TempDir() + "sim_override.scn";
    {
        std::ofstream f(path);
        f << "duration 10\nseed 3\n";
    }
    Options opt;
    const char* argv[] = {"kestrova-sim", "--duration", "4", "--scenario", path.c_str()};
    ASSERT_EQ(parseArgs(5, argv, opt), "");
    EXPECT_DOUBLE_EQ(opt.duration, 4);
    EXPECT_EQ(opt.seed, 3u);
    std::remove(path.c_str());
}

}  // namespace
}  // namespace kestrova::sim
