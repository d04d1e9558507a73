#pragma once
// Notices when the stream or the GPS packets stop, and keeps the processor told we are alive.

#include "core/Station.h"
#include "core/Timer.h"
#include "link/Decoders.h"

namespace kestrova {

class Supervision {
  public:
    Supervision(Station& st, Decoders& decoders, Timer& timer1, Timer& gpsTimeOut)
        : st_(st), dec_(decoders), Timer1_(timer1), GPSTimeOut_(gpsTimeOut) {}

    void idleTick();
    // n idle ticks at once, as they would have come one by one.
    void idleTicks(long long n);
    // Idle ticks until the next link-loss check (the one that may start Timer1).
    long long idleTicksToCheck() const;
    bool linkLossTimerRunning() const { return Timer1_.isRunning(); }
    void dataTick();
    void Timer1_Timer();
    void GPSTimeOut_Timer();
    void StayAliveTmr_Timer();

  private:
    Station& st_;
    Decoders& dec_;
    Timer& Timer1_;
    Timer& GPSTimeOut_;
};

}  // namespace kestrova
