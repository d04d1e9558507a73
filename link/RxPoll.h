#pragma once
// The receive buffer: fills it from the line on every poll tick, keeps it bounded, and hands
// the one packet at its head to its handler before removing it.

#include "core/Station.h"
#include "link/Dispatch.h"
#include "link/Supervision.h"

namespace kestrova {

class RxPoll {
  public:
    RxPoll(Station& st, Dispatch& dispatch, Supervision& supervision)
        : st_(st), dispatch_(dispatch), supervision_(supervision) {}

    void Timer4_Timer();
    void Comm1_OnComm();
    // The port's device went away.
    void portLost();

  private:
    bool headPacketComplete() const;
    void overflowCheck();
    void handleHead();
    void dropHeadLine();

    Station& st_;
    Dispatch& dispatch_;
    Supervision& supervision_;
};

}  // namespace kestrova
