#pragma once
// Interval and one-shot timers on a hand-advanced clock, firing in time order; events set for
// a moment (input arriving) come before any timer due at that same moment.

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "core/Timer.h"

namespace kestrova::testing {

class FakeClock;

class FakeTimer : public Timer, public WakeTimer {
  public:
    FakeTimer(FakeClock& clock, long intervalMs) : clock_(clock), interval_(intervalMs) {}
    void start() override;
    void stop() override { running_ = false; }
    bool isRunning() const override { return running_; }
    void wakeIn(long ms) override;

    int starts = 0;
    std::function<void()> onTick;

  private:
    friend class FakeClock;
    FakeClock& clock_;
    long interval_;
    long due_ = 0;
    bool running_ = false;
    bool oneShot_ = false;
};

class FakeClock : public MonotonicClock {
  public:
    FakeTimer& make(long intervalMs, std::function<void()> onTick = {}) {
        timers_.push_back(std::make_unique<FakeTimer>(*this, intervalMs));
        timers_.back()->onTick = std::move(onTick);
        return *timers_.back();
    }
    long now() const { return now_; }
    long long nowMs() const override { return now_; }

    // Runs f when the clock reaches t, before the timers due then.
    void at(long t, std::function<void()> f) { events_.emplace(t, std::move(f)); }

    // Moves time forward, firing every tick that falls due on the way, earliest first.
    void advance(long ms) {
        const long end = now_ + ms;
        for (;;) {
            FakeTimer* next = nullptr;
            for (auto& t : timers_) {
                if (t->running_ && t->due_ <= end && (!next || t->due_ < next->due_)) {
                    next = t.get();
                }
            }
            if (!events_.empty() && events_.begin()->first <= end &&
                (!next || events_.begin()->first <= next->due_)) {
                auto event = events_.extract(events_.begin());
                now_ = std::max(now_, event.key());
                event.mapped()();
                continue;
            }
            if (!next) {
                break;
            }
            now_ = next->due_;
            if (next->oneShot_) {
                next->running_ = false;
            } else {
                next->due_ += next->interval_;
            }
            if (next->onTick) {
                next->onTick();
            }
        }
        now_ = end;
    }

  private:
    std::vector<std::unique_ptr<FakeTimer>> timers_;
    std::multimap<long, std::function<void()>> events_;
    long now_ = 0;
};

inline void FakeTimer::start() {
    running_ = true;
    oneShot_ = false;
    due_ = clock_.now() + interval_;
    ++starts;
}

inline void FakeTimer::wakeIn(long ms) {
    running_ = true;
    oneShot_ = true;
    due_ = clock_.now() + ms;
    ++starts;
}

}  // namespace kestrova::testing
