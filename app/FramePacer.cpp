#include "app/FramePacer.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace kestrova {

FramePacer::FramePacer(QWidget* window, int frameMs, std::function<void()> beforeFrame)
    : QObject(window), window_(window), frameMs_(frameMs), beforeFrame_(std::move(beforeFrame)) {
    latest_.setSingleShot(true);
    latest_.setTimerType(Qt::PreciseTimer);
    connect(&latest_, &QTimer::timeout, this, [this] { paint(); });
    // Before the program sleeps again: after whatever woke it, and after any timer due now,
    // such as a poll tick that answers the processor.
    if (auto* dispatcher = QAbstractEventDispatcher::instance(thread())) {
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, [this] {
            if (pending_ && due()) {
                latest_.start(0);
            }
        });
    }
    window_->installEventFilter(this);
}

bool FramePacer::due() const {
    return !sinceFrame_.isValid() || sinceFrame_.elapsed() >= frameMs_;
}

bool FramePacer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || event->type() != QEvent::UpdateRequest || painting_) {
        return false;
    }
    // Qt asks for no other paint until this one is done.
    pending_ = true;
    if (due()) {
        paint();
    } else if (!latest_.isActive()) {
        // A quarter of a frame late at most, should nothing else wake the program by then.
        latest_.start(static_cast<int>(frameMs_ + frameMs_ / 4 - sinceFrame_.elapsed()));
    }
    return true;
}

void FramePacer::paint() {
    pending_ = false;
    latest_.stop();
    sinceFrame_.start();
    if (beforeFrame_) {
        beforeFrame_();
    }
    painting_ = true;
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(window_, &request);
    painting_ = false;
}

}  // namespace kestrova
