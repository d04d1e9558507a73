#pragma once
// The receive link wired to fakes: a hand-fed line, a recording display and decoder seam, and
// the four timers on a hand-advanced clock.

#include "link/Dispatch.h"
#include "link/RxPoll.h"
#include "link/Supervision.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"
#include "tests/fakes/RecordingDecoders.h"
#include "tests/fakes/RecordingDisplay.h"

namespace kestrova::testing {

struct LinkRig {
    LinkRig() {
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

    FakeSerialLine line;
    RecordingDisplay display;
    Station st{display, line};
    RecordingDecoders decoders{&st};
    FakeClock clock;
    FakeTimer& Timer4 = clock.make(2);
    FakeTimer& Timer1 = clock.make(2000);
    FakeTimer& GPSTimeOut = clock.make(5000);
    FakeTimer& StayAliveTmr = clock.make(500);
    Supervision supervision{st, decoders, Timer1, GPSTimeOut};
    Dispatch dispatch{st, decoders, GPSTimeOut};
    RxPoll poll{st, dispatch, supervision};
};

}  // namespace kestrova::testing
