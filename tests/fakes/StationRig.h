#pragma once
// The headless station as the window wires it, on fakes: a hand-fed line, the fake window,
// the four timers on a hand-advanced clock, and the decoder seam, either the real one
// (StationRig) or one that records the link's calls (LinkRig). Polled by the 2 ms timer or,
// as the program does, by virtual ticks; timed() logs every display call and reply with its
// moment, so two rigs fed the same timed input can be compared.

#include <map>
#include <string>
#include <utility>

#include "app/StationDecoders.h"
#include "display/Bearing.h"
#include "link/Dispatch.h"
#include "link/RxPoll.h"
#include "link/Supervision.h"
#include "link/VirtualTicks.h"
#include "status/AntennaDecoder.h"
#include "status/Banners.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"
#include "tests/fakes/FakeWindow.h"
#include "tests/fakes/MemoryFile.h"
#include "tests/fakes/RecordingDecoders.h"

namespace kestrova::testing {

enum class Poll { Timer4, VirtualTicks };

template <class DecodersT>
struct BasicRig {
    // As start-up leaves it: tables made, the placeholder antenna, the DF-off sign and the
    // battery icon hidden, the line open; nothing started.
    explicit BasicRig(Poll how = Poll::Timer4) : pollBy(how) {
        line.open();
        st.readings.add(window);
        // Made once and copied: fuzzers make a rig for every input.
        static const std::pair<BearingRecord, AntennaRecord> made = [] {
            FakeWindow w;
            FakeSerialLine l;
            Station first{w, l};
            CreateTables(first);
            LoadAntSettings(first, ParseAntennaLine(kUnknownAntenna), false);
            return std::pair(first.bearing, first.antenna);
        }();
        st.bearing = made.first;
        st.antenna = made.second;
        Draw_Ant_Model(st);
        Draw_Ant_Band(st);
        window.setVisible(El::FrameDFOff, false);
        window.setVisible(El::BatteryMeter, false);
        window.log.clear();
        Timer1.onTick = [this] { supervision.Timer1_Timer(); };
        GPSTimeOut.onTick = [this] { supervision.GPSTimeOut_Timer(); };
        StayAliveTmr.onTick = [this] { supervision.StayAliveTmr_Timer(); };
        if (pollBy == Poll::VirtualTicks) {
            Timer4.onTick = [this] { ticks.wakeUp(); };
            line.onDataWaiting = [this] { ticks.dataWaiting(); };
            line.onComm = [this] {
                ticks.catchUp();
                poll.Comm1_OnComm();
                ticks.plan();
            };
        } else {
            Timer4.onTick = [this] { poll.Timer4_Timer(); };
            line.onComm = [this] { poll.Comm1_OnComm(); };
        }
    }
    // The end of start-up: the stay-alive, then the poll.
    void start() {
        StayAliveTmr.start();
        if (pollBy == Poll::VirtualTicks) {
            ticks.start();
        } else {
            Timer4.start();
        }
    }
    // Logs display calls and replies (control characters as letters) with their moment.
    void timed() {
        window.clock = &clock;
        logReplies();
    }
    void logReplies() {
        line.onWrite = [this](std::string_view w) {
            std::string shown = "reply ";
            for (const char c : w) {
                shown += c == '\0' ? '0' : c == '\a' ? 'G' : c == '\r' ? 'r' : c == '\n' ? 'n' : c;
            }
            window.add(shown);
        };
    }
    // At each moment the line's events come first, then what arrived, as one piece: a line
    // keeps no order within a millisecond, and an event does not read the input.
    void arriveAt(long t, const std::string& bytes) {
        Moment& m = moment(t);
        m.bytes += bytes;
        m.arrived = true;
    }
    void lineEventAt(long t) { ++moment(t).events; }
    // Runs n poll ticks directly, without moving the clock.
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) {
            poll.Timer4_Timer();
        }
    }

    struct Moment {
        int events = 0;
        bool arrived = false;
        std::string bytes;
    };
    Moment& moment(long t) {
        auto [at, fresh] = moments.try_emplace(t);
        if (fresh) {
            clock.at(t, [this, t] {
                const Moment m = std::move(moments[t]);
                moments.erase(t);
                for (int i = 0; i < m.events; ++i) {
                    line.raiseEvent();
                }
                if (m.arrived) {
                    line.arrive(m.bytes);
                }
            });
        }
        return at->second;
    }

    Poll pollBy;
    std::map<long, Moment> moments;  // still to come
    FakeSerialLine line;
    FakeClock clock;
    HandLocalClock local;
    Clocks clocks{clock, local};
    FakeWindow window;
    Station st{window, line, clocks};
    DecodersT decoders{st};
    // Made in this order in every rig, so timers due at the same moment fire in one order.
    FakeTimer& Timer4 = clock.make(2);
    FakeTimer& Timer1 = clock.make(2000);
    FakeTimer& GPSTimeOut = clock.make(5000);
    FakeTimer& StayAliveTmr = clock.make(500);
    Supervision supervision{st, decoders, Timer1, GPSTimeOut};
    Dispatch dispatch{st, decoders, GPSTimeOut};
    RxPoll poll{st, dispatch, supervision};
    VirtualTicks ticks{poll, Timer4, clock};
};

using StationRig = BasicRig<StationDecoders>;
using LinkRig = BasicRig<RecordingDecoders>;

}  // namespace kestrova::testing
