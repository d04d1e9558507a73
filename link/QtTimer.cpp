#include "link/QtTimer.h"

namespace kestrova {

QtTimer::QtTimer(int intervalMs, std::function<void()> onTick, QObject* parent) : timer_(parent) {
    timer_.setInterval(intervalMs);
    // The 2 ms poll needs a precise timer; the slower ones can be coalesced.
    timer_.setTimerType(intervalMs < 20 ? Qt::PreciseTimer : Qt::CoarseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(onTick));
}

}  // namespace kestrova

namespace kestrova {

QtWakeTimer::QtWakeTimer(std::function<void()> onWake, QObject* parent) : timer_(parent) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(onWake));
}

}  // namespace kestrova
