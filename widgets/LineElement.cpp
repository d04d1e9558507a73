#include "widgets/LineElement.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace kestrova {

LineElement::LineElement(int widthPx, QWidget* parent) : QWidget(parent), width_(widthPx) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineElement::setEnds(QPoint a, QPoint b, const QColor& colour) {
    const QRect box = QRect(a, b).normalized().adjusted(-width_, -width_, width_, width_);
    if (a == a_ && b == b_ && colour == colour_ && box == box_ && placedWidth_ == width_) {
        return;  // a meter showing the reading it shows: nothing to repaint
    }
    const QRect before = box_;
    a_ = a;
    b_ = b;
    colour_ = colour;
    box_ = box;
    if (placedWidth_ != width_ || !geometry().contains(box)) {
        // A new pen width starts afresh; otherwise the widget grows to take the line in.
        setGeometry(placedWidth_ == width_ ? geometry().united(box) : box);
        placedWidth_ = width_;
    }
    update(before.united(box).translated(-pos()));
}

void LineElement::paintEvent(QPaintEvent*) {
    if (a_ == b_) {
        return;  // a line of no length shows nothing
    }
    QPainter p(this);
    const QPoint a = a_ - pos();
    const QPoint b = b_ - pos();
    // Upright and level lines are filled as exact pixel runs so a bar is as tall as asked.
    if (a.x() == b.x()) {
        p.fillRect(
            QRect(a.x() - width_ / 2, std::min(a.y(), b.y()), width_, std::abs(a.y() - b.y())),
            colour_);
    } else if (a.y() == b.y()) {
        p.fillRect(
            QRect(std::min(a.x(), b.x()), a.y() - width_ / 2, std::abs(a.x() - b.x()), width_),
            colour_);
    } else {
        p.setPen(QPen(colour_, width_, Qt::SolidLine, Qt::FlatCap));
        p.drawLine(a, b);
    }
}

}  // namespace kestrova
