#pragma once

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

}  // namespace kestrova
