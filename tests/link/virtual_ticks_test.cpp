// The program sleeps between packets on virtual ticks; it must do exactly what the 2 ms poll
// does, at the same moments, for any input at any timing.

#include <gtest/gtest.h>

#include <random>

#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

struct Timed {
    long at;  // ms
    std::string bytes;
    bool lineEvent = false;
};

// Both rigs on the same input; the logs must be equal, line by line. Returns the wakes.
int expectSameLog(const std::vector<Timed>& input, long runFor) {
    StationRig ticks(Poll::Timer4), wake(Poll::VirtualTicks);
    for (StationRig* r : {&ticks, &wake}) {
        r->timed();
        for (const Timed& t : input) {
            if (t.lineEvent) {
                r->lineEventAt(t.at);
            } else {
                r->arriveAt(t.at, t.bytes);
            }
        }
        r->start();
    }
    int woken = 0;
    wake.Timer4.onTick = [&] {
        ++woken;
        wake.ticks.wakeUp();
    };
    runFor |= 1;  // between two ticks, so that catching up below counts every tick that ran
    ticks.clock.advance(runFor);
    wake.clock.advance(runFor);
    wake.ticks.catchUp();
    const auto& a = ticks.window.log;
    const auto& b = wake.window.log;
    const auto diff = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    EXPECT_TRUE(diff.first == a.end() && diff.second == b.end())
        << "first difference after " << (diff.first - a.begin()) << " entries: 2 ms poll \""
        << (diff.first == a.end() ? "(end)" : *diff.first) << "\", virtual ticks \""
        << (diff.second == b.end() ? "(end)" : *diff.second) << "\"";
    EXPECT_EQ(ticks.st.link.IdleTickCount, wake.st.link.IdleTickCount);
    EXPECT_EQ(ticks.st.link.BusyTickCount, wake.st.link.BusyTickCount);
    EXPECT_EQ(ticks.st.link.RxBuffer, wake.st.link.RxBuffer);
    return woken;
}

const char* const kPackets[] = {"B30682048S42045P\r\n",
                                "B20484068S99999P\r\n",
                                "B10001000T07360N\r\n",
                                "B3068204 S42045P\r\n",
                                "AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BAT,REL\r\n",
                                "AFM/S,IF 25,GND,LCL,HIGH,03,RCV,BRT,REL\r\n",
                                "AAM,IF 6,AIRX,RMT,LOW,01,HNT,BRT\r\n",
                                "AFM,IF 9,GND,RMT,LOW,20,XXX,DIM\r\n",
                                "CQAX-7741C-1, 100-200/-450, 300-400/12\r\n",
                                "CANT UNKNOWN\r\n",
                                "D-33521234+151123456\r\n",
                                "D+3x521234+151123456\r\n",
                                "b30682048S42045P\r\n"};

// Gaps chosen around every edge of the timing: none, a few ticks, the 30th idle tick (60 ms),
// the link-loss timer (30 ticks + 2 s) and the GPS time-out (5 s).
long gap(std::mt19937& rng) {
    // centre, spread for each kind: none, a few ticks, then the edges above, or anything
    constexpr long kGaps[10][2] = {{0, 0},  {0, 0},    {0, 0},     {6, 6},     {6, 6},
                                   {60, 6}, {2060, 8}, {5000, 10}, {300, 300}, {1, 1}};
    const auto& [centre, spread] = kGaps[rng() % 10];
    return centre - spread + static_cast<long>(rng() % static_cast<unsigned long>(2 * spread + 1));
}

std::vector<Timed> randomStream(unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<Timed> out;
    long t = 5 + static_cast<long>(rng() % 100);
    for (int i = 0; i < 400; ++i) {
        std::string bytes;
        const int what = static_cast<int>(rng() % 20);
        if (what < 14) {
            bytes = kPackets[rng() % std::size(kPackets)];
        } else if (what < 16) {  // line noise
            for (auto n = 1 + rng() % 40; n > 0; --n) {
                bytes += static_cast<char>(rng() % 256);
            }
        } else if (what < 18) {  // a packet cut short
            const std::string p = kPackets[rng() % std::size(kPackets)];
            bytes = p.substr(0, 1 + rng() % (p.size() - 1));
        } else if (what == 18) {  // a long run of garbage, past the resynchronisation rule
            bytes = std::string(420 + rng() % 300, '#') + (rng() % 2 ? "\n" : "");
        } else {
            out.push_back({t, "", true});
            continue;
        }
        // Sent in pieces.
        while (!bytes.empty()) {
            const std::size_t n = 1 + rng() % bytes.size();
            out.push_back({t, bytes.substr(0, n)});
            bytes.erase(0, n);
            t += static_cast<long>(rng() % 3);
        }
        t += gap(rng);
    }
    return out;
}

TEST(VirtualTicks, SameAsThe2msPollOnRandomTimedStreams) {
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE(seed);
        const auto input = randomStream(seed);
        expectSameLog(input, input.back().at + 8000);
        if (HasFailure()) {
            return;
        }
    }
}

// Asleep on a silent line: the 30th idle tick and nothing more; busy, a tick every 2 ms.
TEST(VirtualTicks, WakesOnlyForWork) {
    EXPECT_EQ(expectSameLog({}, 10000), 1);
    const std::vector<Timed> burst(100, {100, "B30682048S42045P\r\n"});
    EXPECT_LE(expectSameLog(burst, 10000), 100 + 2);
}

}  // namespace
}  // namespace kestrova::testing
