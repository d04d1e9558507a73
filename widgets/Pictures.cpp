#include "widgets/Pictures.h"

#include <QFont>
#include <QFontDatabase>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QtMath>
#include <cmath>

#include "widgets/Look.h"
#include "widgets/NeedleGauge.h"

namespace kestrova::pictures {

namespace {

const QColor kBlack = toQColor(kestrova::kBlack);
const QColor kYellow = toQColor(kestrova::kYellow);
const QColor kRed = toQColor(kestrova::kRed);
const QColor kRing(0, 200, 0);
const QColor kDimGreen(0, 96, 0);
const QColor kScaleText(230, 230, 230);

QPixmap blank(QSize logical, qreal dpr) {
    if (!(dpr > 0)) {
        dpr = 1;
    }
    QPixmap pm(QSize(qCeil(logical.width() * dpr), qCeil(logical.height() * dpr)));
    pm.setDevicePixelRatio(dpr);
    pm.fill(kBlack);
    return pm;
}

QFont pixelFont(int px, bool bold) {
    QFont f(displayFontFamily());
    f.setPixelSize(px);
    f.setBold(bold);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// Text centred on a point, for dial and scale labels.
void centredText(QPainter& p, QPointF at, const QString& text) {
    const QFontMetricsF fm(p.font());
    const QRectF box(at.x() - fm.horizontalAdvance(text) / 2 - 2, at.y() - fm.height() / 2,
                     fm.horizontalAdvance(text) + 4, fm.height());
    p.drawText(box, Qt::AlignCenter, text);
}

void rightText(QPainter& p, qreal right, qreal midY, const QString& text) {
    const QFontMetricsF fm(p.font());
    p.drawText(QRectF(right - 20, midY - fm.height() / 2, 20, fm.height()),
               Qt::AlignRight | Qt::AlignVCenter, text);
}

// The bars' baseline and places in the meter panel, in design pixels (to the nearest).
constexpr int designPx(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}
constexpr int kBaselinePx = designPx(kMeterBaseline);
constexpr int kSBarX = designPx(kSMeterX);
constexpr int kTuneBarX = designPx(kTMeterX);

void paintScale(QPainter& p, int barX, const QStringList& marks, double bottomP, double topP) {
    // Channel the bar runs in.
    p.setPen(QPen(kDimGreen, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(barX - 3.5, kBaselinePx - topP - 2.5, 7, topP + 3));
    p.setFont(pixelFont(9, true));
    const int n = static_cast<int>(marks.size());
    for (int k = 0; k < n; ++k) {
        const double y = kBaselinePx - (bottomP + (topP - bottomP) * k / (n - 1)) + 0.5;
        p.setPen(QPen(kRing, 1));
        p.drawLine(QPointF(barX - 8, y), QPointF(barX - 4, y));
        p.setPen(kScaleText);
        rightText(p, barX - 8.5, y, marks[k]);
    }
}

}  // namespace

QString displayFontFamily() {
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char* name : {"Verdana", "DejaVu Sans", "Liberation Sans"}) {
            if (installed.contains(QString::fromLatin1(name), Qt::CaseInsensitive)) {
                return QString::fromLatin1(name);
            }
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

namespace {

// The dial's marks every 10 degrees, red on the axes, and its labels every 30.
void paintScale(QPainter& p, QPointF c) {
    for (int deg = 0; deg < 360; deg += 10) {
        const double a = qDegreesToRadians(static_cast<double>(deg));
        const QPointF dir(std::sin(a), -std::cos(a));
        if (deg % 90 == 0) {
            p.setPen(QPen(kRed, 4, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(c + dir * 88, c + dir * 104);
        } else {
            p.setPen(QPen(kRing, deg % 30 == 0 ? 2 : 1, Qt::SolidLine, Qt::FlatCap));
            p.drawLine(c + dir * (deg % 30 == 0 ? 93 : 96), c + dir * 100);
        }
    }
    p.setFont(pixelFont(11, true));
    p.setPen(kScaleText);
    for (int deg = 0; deg < 360; deg += 30) {
        const double a = qDegreesToRadians(static_cast<double>(deg));
        // Labels on the axes sit inside the red marks.
        const double r = deg % 90 == 0 ? 76 : 85;
        centredText(p, c + QPointF(std::sin(a), -std::cos(a)) * r, QString::number(deg));
    }
}

}  // namespace

void paintGaugeFace(QPainter& p, int side) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(side / 212.0, side / 212.0);
    const QPointF c(106, 106);

    p.setPen(Qt::NoPen);
    p.setBrush(kBlack);
    p.drawEllipse(c, 105, 105);

    // Strength references: full needle reach and half of it.
    const double reach = 106 * NeedleGauge::kNeedleReach;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kDimGreen, 1, Qt::DotLine));
    p.drawEllipse(c, reach, reach);
    p.drawEllipse(c, reach / 2, reach / 2);

    // Cross-hairs with a small circle at the centre.
    p.setPen(QPen(kDimGreen, 1));
    p.drawLine(QPointF(c.x() - reach, c.y()), QPointF(c.x() + reach, c.y()));
    p.drawLine(QPointF(c.x(), c.y() - reach), QPointF(c.x(), c.y() + reach));
    p.setPen(QPen(kRing, 1));
    p.drawEllipse(c, 5, 5);

    p.setPen(QPen(kRing, 3));
    p.drawEllipse(c, 101, 101);
    paintScale(p, c);
    p.restore();
}

void HistoryMarks::paint(QPainter& p, int side, std::span<const DialMark> marks,
                         const QColor& colour) {
    const qreal dpr = p.device()->devicePixelRatioF();
    if (side != side_ || dpr != dpr_ || colour != colour_) {
        wedges_.clear();
        side_ = side;
        dpr_ = dpr;
        colour_ = colour;
    }
    const double k = side / 212.0;
    const QPointF c(106 * k, 106 * k);
    // Tip just inside the tick marks, base on the ring: the scale labels stay clear.
    constexpr double kTip = 88, kBase = 101, kHalfWidth = 4.5;
    const int box = qCeil((kBase - kTip + 2 * kHalfWidth) * k) + 2;  // holds a wedge any way
    p.save();
    for (const DialMark& m : marks) {
        const double a = qDegreesToRadians(m.degrees);
        const QPointF out(std::sin(a) * k, -std::cos(a) * k), across(-out.y(), out.x());
        // The wedge's box starts on a device pixel, so copying it moves nothing.
        const QPointF corner = c + out * (kTip + kBase) / 2 - QPointF(box, box) / 2;
        const QPointF origin(std::floor(corner.x() * dpr) / dpr,
                             std::floor(corner.y() * dpr) / dpr);
        // Each direction's wedge is drawn once, antialiased, and then only copied.
        QImage& wedge = wedges_[static_cast<int>(std::lround(m.degrees * 2))];
        if (wedge.isNull()) {
            wedge = QImage(QSize(box, box) * dpr, QImage::Format_ARGB32_Premultiplied);
            wedge.setDevicePixelRatio(dpr);
            wedge.fill(Qt::transparent);
            QPainter w(&wedge);
            w.setRenderHint(QPainter::Antialiasing);
            w.setPen(Qt::NoPen);
            w.setBrush(colour);
            w.translate(-origin);
            w.drawPolygon(QPolygonF({c + out * kTip, c + out * kBase + across * kHalfWidth,
                                     c + out * kBase - across * kHalfWidth}));
        }
        p.setOpacity(m.strength);
        p.drawImage(origin, wedge);
    }
    p.restore();
}

QPixmap meterScales(qreal dpr) {
    QPixmap pm = blank(kMeterScalesSize, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::TextAntialiasing);
    // The S bar rises 1.43 pixels a unit (142 at full scale); the tune marker sits 3..140
    // pixels up with the centre at 71.
    paintScale(p, kSBarX, {"0", "2", "4", "6", "8", "*"}, 0, 142);
    paintScale(p, kTuneBarX, {"-", "8", "4", "0", "4", "8", "+"}, 3, 140);

    p.setPen(QPen(kRing, 1));
    p.drawLine(QPointF(kSBarX - 8, kBaselinePx + 0.5), QPointF(kSBarX + 4, kBaselinePx + 0.5));
    p.drawLine(QPointF(kTuneBarX - 8, kBaselinePx + 0.5),
               QPointF(kTuneBarX + 4, kBaselinePx + 0.5));

    p.setFont(pixelFont(9, true));
    p.setPen(kYellow);
    centredText(p, QPointF(kSBarX, 156), QStringLiteral("S"));
    centredText(p, QPointF(kTuneBarX - 2, 156), QStringLiteral("TUNE"));
    return pm;
}

QPixmap bearingBackground(qreal dpr) {
    QPixmap pm = blank(kBearingBackgroundSize, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kRing, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(1, 1, 52, 27), 6, 6);
    return pm;
}

QPixmap gpsBackground(qreal dpr) {
    QPixmap pm = blank(kGpsBackgroundSize, dpr);
    QPainter p(&pm);
    p.setPen(QPen(kRed, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 157, 120));
    p.drawRect(QRectF(0.5, 0.5, 157, 19));
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(pixelFont(11, true));
    p.setPen(kYellow);
    p.drawText(QRectF(1, 1, 156, 19), Qt::AlignCenter, QStringLiteral("GPS COORDINATES"));
    return pm;
}

QPixmap dfOffSign(qreal dpr) {
    QPixmap pm = blank(kDfOffSize, dpr);
    QPainter p(&pm);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setFont(pixelFont(12, true));
    p.setPen(kYellow);
    p.drawText(QRectF(0, 0, kDfOffSize.width(), kDfOffSize.height()), Qt::AlignCenter,
               QStringLiteral("DF OFF"));
    return pm;
}

QPixmap lowBatteryIcon(qreal dpr) {
    QPixmap pm = blank(kLowBatterySize, dpr);
    QPainter p(&pm);
    p.setPen(QPen(kRed, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(0.5, 0.5, 24, 10));
    p.fillRect(QRectF(25, 3, 3, 5), kRed);
    // What charge is left: a wedge at the empty end.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawPolygon(QPolygonF({QPointF(2, 9), QPointF(9, 9), QPointF(2, 3)}));
    return pm;
}

}  // namespace kestrova::pictures
