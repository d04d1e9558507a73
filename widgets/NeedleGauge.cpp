#include "widgets/NeedleGauge.h"

#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrova {

QPointF needleTip(double value, double strength, double radius) {
    if (!std::isfinite(value) || !std::isfinite(strength) || !std::isfinite(radius)) {
        return {0, 0};
    }
    const double length = std::clamp(strength, 0.0, 1.0) * radius;
    const double a = value * std::numbers::pi / 180.0;
    return {length * std::sin(a), -length * std::cos(a)};
}

NeedleGauge::NeedleGauge(QWidget* parent) : QWidget(parent) {
    // The face covers every pixel, so Qt need not clear behind it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    frame_.setSingleShot(true);
    connect(&frame_, &QTimer::timeout, this, [this] { paintMoves(); });
}

QRect NeedleGauge::needleArea() const {
    const QPointF c = centre();
    const QPointF tip = c + needleTip(value_, strength_, needleRadius());
    // The pen, the round cap and the arrow head's width all stay within this margin.
    const int margin = static_cast<int>(std::ceil(8 * unit()));
    return QRectF(c, tip).normalized().toAlignedRect().adjusted(-margin, -margin, margin, margin);
}

template <class Change>
void NeedleGauge::moveNeedle(Change change) {
    dirty_ |= needleArea();
    change();
    dirty_ |= needleArea();
    scheduleFrame();
}

void NeedleGauge::scheduleFrame() {
    if (!paced_) {
        if (!frameAsked_) {
            frameAsked_ = true;
            update(dirty_);
        }
    } else if (!frame_.isActive()) {
        const qint64 since = sinceFrame_.isValid() ? sinceFrame_.elapsed() : kFrameMs;
        frame_.start(static_cast<int>(std::max<qint64>(0, kFrameMs - since)));
    }
}

void NeedleGauge::paintMoves() {
    update(dirty_);
    dirty_ = QRect();
    frameAsked_ = false;
    sinceFrame_.start();
}

void NeedleGauge::setFacePainter(FacePainter painter, int look) {
    faces_[look] = Face{std::move(painter), QPixmap()};
    look_ = look;
    dial_ = QPixmap();
    update();
}

void NeedleGauge::showLook(int look) {
    if (look != look_ && faces_.contains(look)) {
        look_ = look;
        dial_ = QPixmap();
        update();
    }
}

void NeedleGauge::setOverlayPainter(FacePainter painter) {
    overlayPainter_ = std::move(painter);
    overlayChanged();
}

void NeedleGauge::overlayChanged() {
    dial_ = QPixmap();
    // Painted with the needle's frames, so a burst of changes costs one repaint.
    dirty_ = rect();
    scheduleFrame();
}

void NeedleGauge::setNeedleValue(double degrees) {
    if (degrees != value_) {
        moveNeedle([&] { value_ = degrees; });
    }
}

void NeedleGauge::setNeedleColour(const QColor& colour) {
    if (colour != colour_) {
        moveNeedle([&] { colour_ = colour; });
    }
}

void NeedleGauge::setStrength(double fraction) {
    if (fraction != strength_) {
        moveNeedle([&] { strength_ = fraction; });
    }
}

QPointF NeedleGauge::centre() const {
    return {width() / 2.0, height() / 2.0};
}

double NeedleGauge::needleRadius() const {
    return std::min(width(), height()) / 2.0 * kNeedleReach;
}

double NeedleGauge::unit() const {
    return std::min(width(), height()) / static_cast<double>(kDesignSide);
}

const QPixmap& NeedleGauge::face(qreal dpr) {
    Face& f = faces_[look_];
    const QSize device(qRound(width() * dpr), qRound(height() * dpr));
    if (f.pixmap.isNull() || f.pixmap.size() != device || f.pixmap.devicePixelRatio() != dpr) {
        f.pixmap = QPixmap(device);
        f.pixmap.setDevicePixelRatio(dpr);
        f.pixmap.fill(Qt::black);
        QPainter p(&f.pixmap);
        const int side = std::min(width(), height());
        p.translate(QPoint((width() - side) / 2, (height() - side) / 2));
        if (f.painter) {
            f.painter(p, side);
        }
        ++faceRenders_;
    }
    return f.pixmap;
}

const QPixmap& NeedleGauge::dial(qreal dpr) {
    const QPixmap& plain = face(dpr);
    if (!overlayPainter_) {
        return plain;
    }
    if (dial_.isNull() || dial_.size() != plain.size() ||
        dial_.devicePixelRatio() != plain.devicePixelRatio()) {
        dial_ = plain.copy();
        dial_.setDevicePixelRatio(dpr);
        QPainter p(&dial_);
        const int side = std::min(width(), height());
        p.translate(QPoint((width() - side) / 2, (height() - side) / 2));
        overlayPainter_(p, side);
        ++overlayRenders_;
    }
    return dial_;
}

void NeedleGauge::paintEvent(QPaintEvent*) {
    frameAsked_ = false;  // shown as it is: the next move asks again
    QPainter p(this);
    // The surface actually painted on decides the ratio: the backing store on screen, the
    // target image when rendered elsewhere.
    const QPaintDevice* target = p.paintEngine() ? p.paintEngine()->paintDevice() : nullptr;
    const QPixmap& d = dial(target ? target->devicePixelRatioF() : devicePixelRatioF());
    // Whole and unscaled: the paint clip keeps it to the area asked for. Copying just that
    // area would put its edges between device pixels at a fractional ratio and leave a row
    // of what was there before.
    p.drawPixmap(QPointF(0, 0), d);

    const QPointF c = centre();
    const QPointF tip = c + needleTip(value_, strength_, needleRadius());
    const QPointF along = tip - c;
    const double length = std::hypot(along.x(), along.y());
    if (length < 0.5) {
        return;  // no strength, no needle
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour_, 3 * unit(), Qt::SolidLine, Qt::RoundCap));
    const QPointF forward = along / length;
    const QPointF normal(-forward.y(), forward.x());
    const double head = std::min(10.0 * unit(), length * 0.4);
    p.drawLine(c, tip - forward * head * 0.5);
    // Arrow head, narrow enough not to hide the dial labels.
    p.setPen(Qt::NoPen);
    p.setBrush(colour_);
    p.drawPolygon(QPolygonF({tip, tip - forward * head + normal * head * 0.45,
                             tip - forward * head - normal * head * 0.45}));
}

}  // namespace kestrova
