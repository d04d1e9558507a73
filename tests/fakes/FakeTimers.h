#pragma once
// Interval timers on a hand-advanced clock, firing in time order.

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

#include "core/Timer.h"

namespace kestrova::testing {

class FakeClock;

class FakeTimer : public Timer {
  public:
    FakeTimer(FakeClock& clock, long intervalMs) : clock_(clock), interval_(intervalMs) {}
    void start() override;
    void stop() override { running_ = false; }
    bool isRunning() const override { return running_; }

    long interval() const { return interval_; }
    long due() const { return due_; }
    int starts = 0;
    std::function<void()> onTick;

  private:
    friend class FakeClock;
    FakeClock& clock_;
    long interval_;
    long due_ = 0;
    bool running_ = false;
};

class FakeClock {
  public:
    FakeTimer& make(long intervalMs, std::function<void()> onTick = {}) {
        timers_.push_back(std::make_unique<FakeTimer>(*this, intervalMs));
        timers_.back()->onTick = std::move(onTick);
        return *timers_.back();
    }
    long now() const { return now_; }

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
            if (!next) {
                break;
            }
            now_ = next->due_;
            next->due_ += next->interval_;
            if (next->onTick) {
                next->onTick();
            }
        }
        now_ = end;
    }

  private:
    std::vector<std::unique_ptr<FakeTimer>> timers_;
    long now_ = 0;
};

inline void FakeTimer::start() {
    running_ = true;
    due_ = clock_.now() + interval_;
    ++starts;
}

}  // namespace kestrova::testing
