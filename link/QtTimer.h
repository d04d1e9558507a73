#pragma once

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

}  // namespace kestrova
