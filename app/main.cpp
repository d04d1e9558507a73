#include <time.h>

#include <QApplication>
#include <QEvent>
#include <cstdio>

#include "app/KestrovaApp.h"

namespace {

// With KESTROVA_STARTUP_TIMING set, prints the wall-clock time of the window's first paint,
// so a script can measure the time from launch to a shown window.
class FirstPaint : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            timespec now{};
            clock_gettime(CLOCK_REALTIME, &now);
            std::fprintf(stderr, "kestrova: first paint at %lld.%09ld\n",
                         static_cast<long long>(now.tv_sec), now.tv_nsec);
            watched->removeEventFilter(this);
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    kestrova::KestrovaApp kestrova(QCoreApplication::applicationDirPath().toStdString());
    FirstPaint firstPaint;
    if (qEnvironmentVariableIsSet("KESTROVA_STARTUP_TIMING")) {
        kestrova.window().installEventFilter(&firstPaint);
    }
    if (!kestrova.start()) {
        return 1;
    }
    return app.exec();
}
