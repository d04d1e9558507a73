#pragma once
// The timers of the main window; they are scheduled on the MonotonicClock of core/Clock.h.

#include "core/Clock.h"

namespace kestrova {

// An interval timer of the main window; its tick handler is bound when it is made.
class Timer {
  public:
    virtual ~Timer() = default;
    // Starting a running timer restarts its interval.
    virtual void start() = 0;
    virtual void stop() = 0;
    virtual bool isRunning() const = 0;
};

// A one-shot timer: fires once, `ms` from now, unless stopped or set again first.
class WakeTimer {
  public:
    virtual ~WakeTimer() = default;
    virtual void wakeIn(long ms) = 0;
    virtual void stop() = 0;
};

}  // namespace kestrova
