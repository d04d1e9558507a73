#include "widgets/ClickableLabel.h"

#include <QContextMenuEvent>
#include <QMouseEvent>

namespace kestrova {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ClickableLabel::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    emit menuRequested(event->globalPos());
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent* event) {
    // A click is press and release on the label; dragging off cancels it.
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) {
        emit clicked();
    }
}

}  // namespace kestrova
