#include "display/NeedleGauge.h"

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
    connect(&frame_, &QTimer::timeout, this, [this] { paintFrame(); });
}

QRect NeedleGauge::needleArea() const {
    const QPointF c = centre();
    const QPointF tip = c + needleTip(value_, strength_, needleRadius());
    // The pen, the round cap and the arrow head's width all stay within this margin.
    constexpr int kMargin = 8;
    return QRectF(c, tip).normalized().toAlignedRect().adjusted(-kMargin, -kMargin, kMargin,
                                                                kMargin);
}

template <class Change>
void NeedleGauge::moveNeedle(Change change) {
    dirty_ |= needleArea();
    change();
    dirty_ |= needleArea();
    if (!frame_.isActive()) {
        const qint64 since = sinceFrame_.isValid() ? sinceFrame_.elapsed() : kFrameMs;
        frame_.start(static_cast<int>(std::max<qint64>(0, kFrameMs - since)));
    }
}

void NeedleGauge::paintFrame() {
    update(dirty_);
    dirty_ = QRect();
    sinceFrame_.start();
}

void NeedleGauge::setFacePainter(FacePainter painter) {
    facePainter_ = std::move(painter);
    face_ = QPixmap();
    update();
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

const QPixmap& NeedleGauge::face(qreal dpr) {
    const QSize device(qRound(width() * dpr), qRound(height() * dpr));
    if (face_.isNull() || face_.size() != device || face_.devicePixelRatio() != dpr) {
        face_ = QPixmap(device);
        face_.setDevicePixelRatio(dpr);
        face_.fill(Qt::black);
        QPainter p(&face_);
        const int side = std::min(width(), height());
        p.translate((width() - side) / 2, (height() - side) / 2);
        if (facePainter_) {
            facePainter_(p, side);
        }
        ++faceRenders_;
    }
    return face_;
}

void NeedleGauge::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    // The surface actually painted on decides the ratio: the backing store on screen, the
    // target image when rendered elsewhere.
    const QPaintDevice* target = p.paintEngine() ? p.paintEngine()->paintDevice() : nullptr;
    const QPixmap& dial = face(target ? target->devicePixelRatioF() : devicePixelRatioF());
    const QRect r = event->rect();
    p.drawPixmap(r, dial,
                 QRectF(r.topLeft() * dial.devicePixelRatio(), r.size() * dial.devicePixelRatio()));

    const QPointF c = centre();
    const QPointF tip = c + needleTip(value_, strength_, needleRadius());
    const QPointF along = tip - c;
    const double length = std::hypot(along.x(), along.y());
    if (length < 0.5) {
        return;  // no strength, no needle
    }
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(colour_, 3, Qt::SolidLine, Qt::RoundCap));
    const QPointF unit = along / length;
    const QPointF normal(-unit.y(), unit.x());
    const double head = std::min(10.0, length * 0.4);
    p.drawLine(c, tip - unit * head * 0.5);
    // Arrow head, narrow enough not to hide the dial labels.
    p.setPen(Qt::NoPen);
    p.setBrush(colour_);
    p.drawPolygon(QPolygonF(
        {tip, tip - unit * head + normal * head * 0.45, tip - unit * head - normal * head * 0.45}));
}

}  // namespace kestrova
