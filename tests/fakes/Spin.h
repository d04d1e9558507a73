#pragma once
// Runs the Qt event loop until a condition holds or the time is up.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace kestrova::testing {

template <class Pred>
bool spinUntil(Pred done, int ms = 3000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    return done();
}

inline void spinFor(int ms) {
    spinUntil([] { return false; }, ms);
}

}  // namespace kestrova::testing
