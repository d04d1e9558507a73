#include "widgets/WindowHelpers.h"

#include <QWidget>

namespace kestrova {

void SetAlwaysOnTop(QWidget* window, bool onTop) {
    if (!window || window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) {
        return;
    }
    // Changing window flags recreates the native window and hides the widget; put it back
    // where and as it was.
    const bool wasVisible = window->isVisible();
    const QPoint place = window->pos();
    const QSize size = window->size();
    const Qt::WindowStates state = window->windowState();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    window->move(place);
    window->resize(size);
    window->setWindowState(state);
    if (wasVisible) {
        window->show();
    }
}

}  // namespace kestrova
