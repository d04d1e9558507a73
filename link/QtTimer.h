#pragma once
// The timers and the clock on Qt.

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

#include "core/Timer.h"

namespace kestrova {

class QtTimer : public Timer {
  public:
    QtTimer(int intervalMs, std::function<void()> onTick, QObject* parent = nullptr);
    void start() override { timer_.start(); }
    void stop() override { timer_.stop(); }
    bool isRunning() const override { return timer_.isActive(); }

  private:
    QTimer timer_;
};

// Wakes the poll at the tick it chooses; precise, as a tick is only 2 ms long.
class QtWakeTimer : public WakeTimer {
  public:
    explicit QtWakeTimer(std::function<void()> onWake, QObject* parent = nullptr);
    void wakeIn(long ms) override { timer_.start(static_cast<int>(ms)); }
    void stop() override { timer_.stop(); }

  private:
    QTimer timer_;
};

// Milliseconds since it was made, counted in whole steps of `stepMs`.
class QtMonotonicClock : public MonotonicClock {
  public:
    explicit QtMonotonicClock(long long stepMs = 1) : step_(stepMs) { elapsed_.start(); }
    long long nowMs() const override {
        const long long t = elapsed_.elapsed();
        return t - t % step_;
    }

  private:
    QElapsedTimer elapsed_;
    long long step_;
};

}  // namespace kestrova
