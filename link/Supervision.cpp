#include "link/Supervision.h"

#include "protocol/Replies.h"

namespace kestrova {

namespace {
constexpr std::uint8_t kIdleTicksForLoss = 30;
constexpr std::uint8_t kIdleRestart = 10;  // so the check repeats every 20 idle ticks
}  // namespace

void Supervision::idleTick() {
    ++st_.link.IdleTickCount;
    if (st_.link.IdleTickCount >= kIdleTicksForLoss) {
        // A running Timer1 is left alone so its 2000 ms are not restarted.
        if (!Timer1_.isRunning()) {
            Timer1_.start();
            st_.link.LinkState = kLinkStopped;
        }
        st_.link.IdleTickCount = kIdleRestart;
    }
}

void Supervision::idleTicks(long long n) {
    while (n > 0) {
        const long long toCheck = kIdleTicksForLoss - st_.link.IdleTickCount;
        if (n < toCheck) {
            st_.link.IdleTickCount = static_cast<std::uint8_t>(st_.link.IdleTickCount + n);
            return;
        }
        n -= toCheck;
        st_.link.IdleTickCount = kIdleTicksForLoss - 1;
        idleTick();
        // With Timer1 running every later check changes nothing: skip whole rounds.
        if (Timer1_.isRunning()) {
            n %= kIdleTicksForLoss - kIdleRestart;
        }
    }
}

long long Supervision::idleTicksToCheck() const {
    return kIdleTicksForLoss - st_.link.IdleTickCount;
}

void Supervision::dataTick() {
    if (st_.link.LinkState != kLinkFlowing) {
        Timer1_.stop();
        st_.link.LinkState = kLinkFlowing;
    }
    st_.link.IdleTickCount = 0;
}

void Supervision::Timer1_Timer() {
    if (st_.link.LinkState == kLinkStopped) {
        st_.link.LinkState = kLinkBlanked;
        dec_.StopBearings();
    }
}

void Supervision::GPSTimeOut_Timer() {
    if (st_.link.GPSTimedOut == 0) {
        st_.link.GPSTimedOut = 1;
        dec_.GPS_Blank();
        GPSTimeOut_.stop();
    }
}

void Supervision::StayAliveTmr_Timer() {
    // Without an open port the write fails; nobody is waiting for it, so it is dropped.
    (void)st_.Comm1.writeOutput(kStayAlive);
}

}  // namespace kestrova
