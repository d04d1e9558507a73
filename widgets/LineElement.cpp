#include "widgets/LineElement.h"

#include <QPainter>
#include <algorithm>
#include <cstdlib>

namespace kestrova {

LineElement::LineElement(int widthPx, QWidget* parent) : QWidget(parent), width_(widthPx) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineElement::setEnds(QPoint a, QPoint b, const QColor& colour) {
    a_ = a;
    b_ = b;
    colour_ = colour;
    const QRect box = QRect(a, b).normalized().adjusted(-width_, -width_, width_, width_);
    if (box != geometry()) {
        setGeometry(box);  // repaints the old and new places
    }
    update();
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
