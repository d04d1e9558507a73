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
    // Whether the next tick has work even if nothing new arrives: a complete packet at the
    // head, or enough characters for the resynchronisation rule.
    bool hasWork() const;
    // n (0 or more) ticks on which nothing arrived and, as hasWork() was false, nothing could
    // be handled.
    void quietTicks(long long n);
    Supervision& supervision() { return supervision_; }
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
