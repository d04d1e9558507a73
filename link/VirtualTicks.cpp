#include "link/VirtualTicks.h"

namespace kestrova {

void VirtualTicks::start() {
    running_ = true;
    t0_ = clock_.nowMs();
    next_ = 1;
    plan();
}

void VirtualTicks::stop() {
    running_ = false;
    armed_ = -1;
    wake_.stop();
}

void VirtualTicks::wakeAtTick(long long tick) {
    if (armed_ == tick) {
        return;
    }
    armed_ = tick;
    const long long in = t0_ + tick * kTickMs - clock_.nowMs();
    wake_.wakeIn(in > 0 ? static_cast<long>(in) : 0);
}

void VirtualTicks::catchUp() {
    if (!running_) {
        return;
    }
    // Ticks strictly before now have passed; one falling exactly on now has not run yet.
    const long long now = clock_.nowMs();
    long long passed = tickAt(now);
    if (t0_ + passed * kTickMs == now) {
        --passed;
    }
    if (passed >= next_) {
        poll_.quietTicks(passed - next_ + 1);
        next_ = passed + 1;
    }
}

void VirtualTicks::dataWaiting() {
    if (!running_) {
        return;
    }
    dataWaiting_ = true;
    // The first tick at or after now reads it.
    const long long now = clock_.nowMs();
    long long tick = tickAt(now);
    if (t0_ + tick * kTickMs < now) {
        ++tick;
    }
    if (tick < next_) {
        tick = next_;
    }
    if (t0_ + tick * kTickMs == now) {
        // Due this moment: run it here. A timer of no delay would cost two timer changes and
        // a turn of the event loop on every arrival.
        runDueTicks();
    } else if (armed_ < 0 || armed_ > tick) {
        wakeAtTick(tick);
    }
}

void VirtualTicks::wakeUp() {
    armed_ = -1;
    runDueTicks();
}

void VirtualTicks::runDueTicks() {
    if (!running_) {
        return;
    }
    const long long tick = tickAt(clock_.nowMs());
    if (tick >= next_) {
        poll_.quietTicks(tick - next_);
        dataWaiting_ = false;  // the tick reads all there is
        poll_.Timer4_Timer();
        next_ = tick + 1;
    }
    plan();
}

void VirtualTicks::plan() {
    if (!running_) {
        return;
    }
    if (poll_.hasWork() || dataWaiting_) {
        wakeAtTick(next_);
    } else if (!poll_.supervision().linkLossTimerRunning()) {
        // The tick at which the idle count reaches the check that starts Timer1.
        wakeAtTick(next_ - 1 + poll_.supervision().idleTicksToCheck());
    } else {
        armed_ = -1;
        wake_.stop();
    }
}

}  // namespace kestrova
