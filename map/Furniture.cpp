// The map's background grid and its furniture: scale bar, north arrow, words and attribution.

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "map/Overlay.h"
#include "map/Scales.h"
#include "widgets/Pictures.h"

namespace kestrova::map {

namespace {

const QColor kPaper(242, 240, 232);
const QColor kOffWorld(205, 205, 200);  // beyond the square world's northern and southern edges
const QColor kGridLine(196, 196, 188);
const QColor kInk(20, 20, 20);
constexpr double kGridPixels = 80;       // grid lines at least this far apart
constexpr double kScaleBarPixels = 140;  // the scale bar at most this long
constexpr int kMaxGridLines = 400;
// The grid's spacing holds for the centre's latitude taken to a quarter degree, so that it
// does not creep as the view pans.
constexpr double kGridLatitudeStep = 0.25;

// Text in a box of paper, its corner `which` at `at`.
void textBox(QPainter& p, QPointF at, Qt::Corner which, const QString& text, const MapLook& look) {
    const double pad = 4 * look.scale;
    QRectF box = QFontMetricsF(p.font()).boundingRect(QRectF(), Qt::AlignLeft, text);
    box.adjust(-pad, -pad, pad, pad);
    const bool right = which == Qt::TopRightCorner || which == Qt::BottomRightCorner;
    const bool bottom = which == Qt::BottomLeftCorner || which == Qt::BottomRightCorner;
    box.moveTo(right ? at.x() - box.width() : at.x(), bottom ? at.y() - box.height() : at.y());
    QColor paper = Ink(look, kPaper, true);
    paper.setAlpha(225);
    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    p.drawRoundedRect(box, pad, pad);
    p.setPen(Ink(look, kInk, true));
    p.drawText(box.adjusted(pad, pad, -pad, -pad), Qt::AlignLeft, text);
}

void lines(QPainter& p, const View& view, double unit) {
    const WorldPoint a = view.toWorld({0, 0});
    const WorldPoint b = view.toWorld({view.width(), view.height()});
    if ((b.x - a.x) / unit > kMaxGridLines || (b.y - a.y) / unit > kMaxGridLines) {
        return;
    }
    for (double k = std::ceil(a.x / unit); k * unit <= b.x; ++k) {
        const double x = view.toScreen({k * unit, 0}).x;
        p.drawLine(QPointF(x, 0), QPointF(x, view.height()));
    }
    for (double k = std::ceil(std::max(a.y, 0.0) / unit); k * unit <= std::min(b.y, 1.0); ++k) {
        const double y = view.toScreen({0, k * unit}).y;
        p.drawLine(QPointF(0, y), QPointF(view.width(), y));
    }
}

void scaleBar(QPainter& p, const View& view, const MapLook& look, double gridMetres) {
    const ScaleBar bar = ScaleBarFor(view.metresPerPixel(), kScaleBarPixels * look.scale);
    QString text = QString::fromStdString(bar.text);
    if (gridMetres > 0) {
        text += QStringLiteral("   grid ") + QString::fromStdString(DistanceText(gridMetres));
    }
    const double s = look.scale, pad = 4 * s;
    const QFontMetricsF fm(p.font());
    const QRectF box(10 * s, view.height() - 10 * s - fm.height() - 10 * s - 2 * pad,
                     std::max(fm.horizontalAdvance(text), bar.pixels) + 2 * pad,
                     fm.height() + 10 * s + 2 * pad);
    QColor paper = Ink(look, kPaper, true);
    paper.setAlpha(225);
    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    p.drawRoundedRect(box, pad, pad);
    const QColor ink = Ink(look, kInk, true);
    p.setPen(ink);
    p.drawText(box.adjusted(pad, pad, -pad, -pad), Qt::AlignLeft | Qt::AlignTop, text);
    const QPointF a(box.left() + pad, box.bottom() - pad - 2 * s), b = a + QPointF(bar.pixels, 0);
    p.setPen(QPen(ink, 2 * s, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(a, b);
    p.drawLine(a, a - QPointF(0, 5 * s));
    p.drawLine(b, b - QPointF(0, 5 * s));
}

void northArrow(QPainter& p, const View& view, const MapLook& look) {
    const double s = look.scale;
    const QFontMetricsF fm(p.font());
    const QRectF box(view.width() - 34 * s, 8 * s, 24 * s, 26 * s + fm.height());
    QColor paper = Ink(look, kPaper, true);
    paper.setAlpha(225);
    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    p.drawRoundedRect(box, 4 * s, 4 * s);
    const QPointF tip(box.center().x(), box.top() + 4 * s);
    p.setBrush(Ink(look, kInk, true));
    p.drawPolygon(QPolygonF{tip, tip + QPointF(7 * s, 20 * s), tip + QPointF(0, 15 * s),
                            tip + QPointF(-7 * s, 20 * s)});
    p.setPen(Ink(look, kInk, true));
    p.drawText(QRectF(box.left(), tip.y() + 21 * s, box.width(), fm.height()), Qt::AlignCenter,
               QStringLiteral("N"));
}

}  // namespace

QFont TextFont(const MapLook& look) {
    QFont f(pictures::displayFontFamily());
    f.setPixelSize(static_cast<int>(std::lround(12 * look.scale)));
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return f;
}

double PaintGrid(QPainter& p, const View& view, const MapLook& look) {
    p.fillRect(QRectF(0, 0, view.width(), view.height()), Ink(look, kOffWorld, true));
    const double top = std::max(0.0, view.toScreen({0, 0}).y);
    const double bottom = std::min(view.height(), view.toScreen({0, 1}).y);
    p.fillRect(QRectF(0, top, view.width(), bottom - top), Ink(look, kPaper, true));
    const double spacing = GridSpacing(view.metresPerPixel(), kGridPixels * look.scale);
    const double latitude =
        std::round(ToGeo(view.centre()).latitude / kGridLatitudeStep) * kGridLatitudeStep;
    const double worldMetres =
        2 * std::numbers::pi * kSphereRadius * std::cos(latitude * std::numbers::pi / 180);
    p.setPen(QPen(Ink(look, kGridLine, true), 1));
    lines(p, view, spacing / worldMetres);
    return spacing;
}

void PaintFurniture(QPainter& p, const View& view, const MapLook& look, double gridMetres,
                    const QString& words, const QString& attribution) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setFont(TextFont(look));
    scaleBar(p, view, look, gridMetres);
    northArrow(p, view, look);
    if (!words.isEmpty()) {
        textBox(p, QPointF(10, 10) * look.scale, Qt::TopLeftCorner, words, look);
    }
    if (!attribution.isEmpty()) {
        QFont small = p.font();
        small.setPixelSize(std::max(8, small.pixelSize() * 5 / 6));
        p.setFont(small);
        textBox(p, QPointF(view.width(), view.height()), Qt::BottomRightCorner, attribution, look);
    }
    p.restore();
}

}  // namespace kestrova::map
