#pragma once
// The poll step on virtual 2 ms ticks. Instead of waking every 2 ms, the program sleeps until
// there is work: input arriving, a backlog that still holds a packet (ticks then run every
// 2 ms, as before), or the tick at which the idle count reaches the link-loss check. On
// waking, the ticks that passed are accounted for at once; they could only have been idle.
// Every tick that runs is the tick the 2 ms timer would have run at that moment.

#include <functional>

#include "core/Timer.h"
#include "link/RxPoll.h"

namespace kestrova {

class VirtualTicks {
  public:
    static constexpr long kTickMs = 2;

    VirtualTicks(RxPoll& poll, WakeTimer& wake, const MonotonicClock& clock)
        : poll_(poll), wake_(wake), clock_(clock) {}

    // In place of starting the 2 ms timer: the first tick falls one interval from now.
    void start();
    void stop();
    bool running() const { return running_; }
    // Input waits on the line: run the tick that reads it, at once when one falls on now.
    void dataWaiting();
    // The wake timer fired.
    void wakeUp();
    // Something outside the ticks is about to change the receive buffer (a line event, a lost
    // port): the ticks that passed must see it as it was.
    void catchUp();
    // Plan the next wake from the state as it is now.
    void plan();

  private:
    long long tickAt(long long now) const { return (now - t0_) / kTickMs; }
    // Accounts for the ticks that passed and runs the one falling on now, if it has not run.
    void runDueTicks();
    void wakeAtTick(long long tick);

    RxPoll& poll_;
    WakeTimer& wake_;
    const MonotonicClock& clock_;
    bool running_ = false;
    bool dataWaiting_ = false;  // input arrived that no tick has read yet
    long long t0_ = 0;
    long long next_ = 1;    // the first tick not yet run
    long long armed_ = -1;  // the tick the wake timer is set for, -1 when it is not set
};

// What start-up starts as its last act: virtual ticks, or the 2 ms timer itself when asked
// (to compare the two).
class PollTimer : public Timer {
  public:
    PollTimer(Timer& every2ms, VirtualTicks& ticks, std::function<bool()> useTimer)
        : every2ms_(every2ms), ticks_(ticks), useTimer_(std::move(useTimer)) {}
    void start() override {
        if (useTimer_ && useTimer_()) {
            every2ms_.start();
        } else {
            ticks_.start();
        }
    }
    void stop() override {
        every2ms_.stop();
        ticks_.stop();
    }
    bool isRunning() const override { return every2ms_.isRunning() || ticks_.running(); }

  private:
    Timer& every2ms_;
    VirtualTicks& ticks_;
    std::function<bool()> useTimer_;
};

}  // namespace kestrova
