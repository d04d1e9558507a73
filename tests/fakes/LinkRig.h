#pragma once
// The receive link wired to fakes: a hand-fed line, a recording display, the four timers on a
// hand-advanced clock, and a decoder seam that either records (LinkRig) or is the real one
// (StationRig).

#include "app/StationDecoders.h"
#include "link/Dispatch.h"
#include "link/RxPoll.h"
#include "link/Supervision.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"
#include "tests/fakes/RecordingDecoders.h"
#include "tests/fakes/RecordingDisplay.h"

namespace kestrova::testing {

template <class DecodersT, class DisplayT = RecordingDisplay>
struct BasicRig {
    BasicRig() {
        line.open();
        Timer4.onTick = [this] { poll.Timer4_Timer(); };
        Timer1.onTick = [this] { supervision.Timer1_Timer(); };
        GPSTimeOut.onTick = [this] { supervision.GPSTimeOut_Timer(); };
        StayAliveTmr.onTick = [this] { supervision.StayAliveTmr_Timer(); };
        line.onComm = [this] { poll.Comm1_OnComm(); };
    }

    // Runs n poll ticks directly, without moving the clock.
    void ticks(int n) {
        for (int i = 0; i < n; ++i) {
            poll.Timer4_Timer();
        }
    }
    // Puts bytes on the line and runs poll ticks until the buffer is drained (or n ticks).
    void feed(const std::string& bytes, int maxTicks = 1000) {
        line.incoming += bytes;
        for (int i = 0; i < maxTicks; ++i) {
            poll.Timer4_Timer();
            if (st.link.RxBuffer.empty() && line.incoming.empty()) {
                break;
            }
        }
    }

    FakeSerialLine line;
    DisplayT display;
    Station st{display, line};
    DecodersT decoders{st};
    FakeClock clock;
    FakeTimer& Timer4 = clock.make(2);
    FakeTimer& Timer1 = clock.make(2000);
    FakeTimer& GPSTimeOut = clock.make(5000);
    FakeTimer& StayAliveTmr = clock.make(500);
    Supervision supervision{st, decoders, Timer1, GPSTimeOut};
    Dispatch dispatch{st, decoders, GPSTimeOut};
    RxPoll poll{st, dispatch, supervision};
};

using LinkRig = BasicRig<RecordingDecoders>;
using StationRig = BasicRig<StationDecoders>;

}  // namespace kestrova::testing
