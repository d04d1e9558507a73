#pragma once
// The whole headless station on the fake clock, polled either by the 2 ms timer or by virtual
// ticks, keeping a log of everything it does with the time it did it: display calls, words
// in the diagnostic box and replies on the line. Two rigs fed the same timed input must keep
// the same log.

#include <cstdio>
#include <string>
#include <vector>

#include "app/StationDecoders.h"
#include "link/Dispatch.h"
#include "link/RxPoll.h"
#include "link/Supervision.h"
#include "link/VirtualTicks.h"
#include "status/AntennaDecoder.h"
#include "status/MagTable.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"
#include "tests/fakes/RecordingDisplay.h"

namespace kestrova::testing {

class TimedDisplay : public RecordingDisplay {
  public:
    explicit TimedDisplay(const FakeClock& clock) : clock_(clock) {}
    void setText(El e, std::string_view t) override {
        note(std::string(elementName(e)) + "=" + std::string(t));
    }
    void setVisible(El e, bool v) override { note(std::string(elementName(e)) + (v ? "+" : "-")); }
    bool loadPicture(El e, const std::string& path) override {
        note(std::string(elementName(e)) + "<" + path);
        return true;
    }
    void setLine(El e, int, int y1, int, int y2, Rgb c) override {
        note(std::string(elementName(e)) + " " + std::to_string(y1) + ":" + std::to_string(y2) +
             (c == kRed ? "r" : ""));
    }
    void setNeedleValue(double v) override {
        char b[32];
        std::snprintf(b, sizeof b, "needle %.4f", v);
        note(b);
    }
    void setNeedleStrength(double s) override {
        char b[32];
        std::snprintf(b, sizeof b, "strength %.4f", s);
        note(b);
    }
    void note(const std::string& what) {
        timed.push_back(std::to_string(clock_.now()) + " " + what);
    }

    std::vector<std::string> timed;

  private:
    const FakeClock& clock_;
};

struct TickRig {
    explicit TickRig(bool virtualTicks) : wakeOnWork(virtualTicks) {
        line.open();
        CreateTables(st);
        LoadAntSettings(st, "CANT UNKNOWN\r\n", false);
        line.onWrite = [this](std::string_view w) {
            std::string shown;
            for (const char c : w) {
                shown += c == '\0' ? '0' : c == '\a' ? 'G' : c == '\r' ? 'r' : c == '\n' ? 'n' : c;
            }
            display.note("reply " + shown);
        };
        StayAliveTmr.onTick = [this] { supervision.StayAliveTmr_Timer(); };
        Timer1.onTick = [this] { supervision.Timer1_Timer(); };
        GPSTimeOut.onTick = [this] { supervision.GPSTimeOut_Timer(); };
        if (wakeOnWork) {
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
        if (wakeOnWork) {
            ticks.start();
        } else {
            Timer4.start();
        }
    }
    void arriveAt(long t, std::string bytes) {
        clock.at(t, [this, b = std::move(bytes)] { line.arrive(b); });
    }
    void lineEventAt(long t) {
        clock.at(t, [this] { line.raiseEvent(); });
    }

    bool wakeOnWork;
    FakeSerialLine line;
    FakeClock clock;
    TimedDisplay display{clock};
    Station st{display, line};
    StationDecoders decoders{st};
    // Made in this order in both rigs, so timers due at the same moment fire in the same order.
    FakeTimer& Timer4 = clock.make(2);
    FakeTimer& Timer1 = clock.make(2000);
    FakeTimer& GPSTimeOut = clock.make(5000);
    FakeTimer& StayAliveTmr = clock.make(500);
    Supervision supervision{st, decoders, Timer1, GPSTimeOut};
    Dispatch dispatch{st, decoders, GPSTimeOut};
    RxPoll poll{st, dispatch, supervision};
    VirtualTicks ticks{poll, Timer4, clock};
};

}  // namespace kestrova::testing
