#include "map/Overlay.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "fix/Export.h"
#include "map/Scales.h"
#include "widgets/Look.h"
#include "widgets/Pictures.h"

namespace kestrova::map {

namespace {

const QColor kTrackColour(0, 110, 255);
const QColor kVehicleColour(0, 60, 200);
const QColor kRingInk(60, 60, 60);
const QColor kLeftOutColour(150, 150, 150);
const QColor kFixColour(255, 0, 150);
constexpr double kMargin = 8;         // pixels beyond the view that are still drawn
constexpr double kHeadingMetres = 5;  // moved at least this far for a heading to show
constexpr int kHeadingLookBack = 30;  // positions searched back for that much movement
constexpr int kMaxRings = 12;
constexpr int kOutlinePoints = 96;

QPolygonF polygon(const Polyline& line) {
    QPolygonF out;
    out.reserve(static_cast<qsizetype>(line.size()));
    for (const ScreenPoint& s : line) {
        out.append({s.x, s.y});
    }
    return out;
}

// A path on the globe, drawn where the view shows it.
void drawPath(QPainter& p, const View& view, const std::vector<GeoPosition>& path) {
    for (const WorldPath& piece : WorldPieces(path)) {
        for (const Polyline& line : OnScreen(view, piece, kMargin)) {
            p.drawPolyline(polygon(line));
        }
    }
}

// The copy of a position nearest the view's centre.
QPointF placed(const View& view, const GeoPosition& g) {
    WorldPoint w = ToWorld(g);
    w.x = view.nearest(w.x);
    const ScreenPoint s = view.toScreen(w);
    return {s.x, s.y};
}

double metresPerPixelAt(const View& view, double latitude) {
    return 2 * std::numbers::pi * kSphereRadius * std::cos(latitude * std::numbers::pi / 180) /
           view.worldPixels();
}

// The way the vehicle last went on the screen, when it moved far enough to tell.
std::optional<QPointF> heading(const std::deque<PositionShown>& track) {
    const PositionShown& now = track.back();
    const WorldPoint a = ToWorld(now.position);
    const double metresPerUnit = 2 * std::numbers::pi * kSphereRadius *
                                 std::cos(now.position.latitude * std::numbers::pi / 180);
    const int back = std::min<int>(kHeadingLookBack, static_cast<int>(track.size()) - 1);
    for (int i = 1; i <= back; ++i) {
        const PositionShown& before = track[track.size() - 1 - static_cast<std::size_t>(i)];
        if (now.time.steadyMs - before.time.steadyMs > kTrackGapMs) {
            break;
        }
        const WorldPoint b = ToWorld(before.position);
        const double dx = std::remainder(a.x - b.x, 1.0), dy = a.y - b.y;
        if (std::hypot(dx, dy) * metresPerUnit >= kHeadingMetres) {
            return QPointF(dx, dy) / std::hypot(dx, dy);
        }
    }
    return std::nullopt;
}

void paintVehicle(QPainter& p, const View& view, const std::deque<PositionShown>& track,
                  const MapLook& look) {
    const GeoPosition& at = track.back().position;
    if (!OnMap(at)) {
        return;
    }
    const QPointF c = placed(view, at);
    const double u = 7 * look.scale;
    p.setPen(QPen(Ink(look, Qt::white, true), 1.5 * look.scale));
    p.setBrush(Ink(look, kVehicleColour));
    if (const auto d = heading(track)) {
        const QPointF side(-d->y(), d->x());
        p.drawPolygon(QPolygonF{c + *d * 1.6 * u, c - *d * u + side * u, c - *d * 0.4 * u,
                                c - *d * u - side * u});
    } else {
        p.drawEllipse(c, u * 0.8, u * 0.8);
    }
}

void paintRings(QPainter& p, const View& view, const GeoPosition& at, const MapLook& look) {
    if (!OnMap(at)) {
        return;
    }
    const QPointF c = placed(view, at);
    const double reach = std::max(
        std::hypot(std::max(c.x(), view.width() - c.x()), std::max(c.y(), view.height() - c.y())),
        1.0);
    const Rings rings = RingsFor(metresPerPixelAt(view, at.latitude), 90 * look.scale, reach);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ink(look, kRingInk, true), look.scale, Qt::DotLine));
    p.setFont(TextFont(look));
    for (int k = 1; k <= std::min(rings.count, kMaxRings); ++k) {
        const double r = k * rings.spacingMetres;
        const auto outline = fix::EllipseOutline(at, {0, r, r, 0}, kOutlinePoints);
        drawPath(p, view, outline);
        const QPointF top = placed(view, outline.front());
        p.drawText(top + QPointF(3 * look.scale, -3 * look.scale),
                   QString::fromStdString(DistanceText(r)));
    }
}

}  // namespace

QColor Ink(const MapLook& look, const QColor& day, bool lightFace) {
    return shade(look.palette, day, lightFace);
}

void Overlay::paint(QPainter& p, const View& view, const Scene& scene, const MapLook& look) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    if (!scene.track.empty()) {
        paintRings(p, view, scene.track.back().position, look);
    }
    paintLines(p, view, scene, look);
    paintTrack(p, view, scene, look);
    if (scene.fix.ok()) {
        paintFix(p, view, scene.fix, look);
    }
    if (!scene.track.empty()) {
        paintVehicle(p, view, scene.track, look);
    }
    p.restore();
}

void Overlay::paintTrack(QPainter& p, const View& view, const Scene& s, const MapLook& look) {
    p.setPen(QPen(Ink(look, kTrackColour), 2.5 * look.scale, Qt::SolidLine, Qt::RoundCap,
                  Qt::RoundJoin));
    for (const auto& stretch : SplitAtGaps(s.track, kTrackGapMs)) {
        drawPath(p, view, stretch);
    }
}

void Overlay::paintLines(QPainter& p, const View& view, const Scene& s, const MapLook& look) {
    drawn_.clear();
    for (std::size_t i = 0; i < s.lines.size(); ++i) {
        const fix::LineOfBearing& l = s.lines[i];
        const fix::BearingVerdict* v = i < s.verdicts.size() ? &s.verdicts[i] : nullptr;
        const bool manual = l.heading == fix::HeadingSource::Manual;
        QColor colour = l.excluded ? kLeftOutColour
                                   : toQColor(manual ? kManualLineColour : SignalColour(l.signal));
        colour = Ink(look, colour);
        colour.setAlphaF(static_cast<float>(
            Fade(static_cast<double>(s.nowMs - l.time.steadyMs) / 1000, s.maxAgeSeconds)));
        const bool wild = v != nullptr && !v->used && !std::isnan(v->residualDegrees);
        const Qt::PenStyle style = l.excluded ? Qt::DashLine
                                   : wild     ? Qt::DotLine
                                   : manual   ? Qt::DashDotLine
                                              : Qt::SolidLine;
        const QPen halo(Ink(look, Qt::white, true), 5 * look.scale, Qt::SolidLine, Qt::RoundCap);
        // A pen of a pixel is drawn by a fast path of its own, a quarter of the time of 1.6.
        const double width = l.id == s.selected ? 2.5 * look.scale : std::floor(look.scale);
        const QPen pen(colour, width, style, Qt::RoundCap);
        for (const WorldPath& piece : s.shapes.of(l.id)) {
            for (Polyline& line : OnScreen(view, piece, kMargin)) {
                const QPolygonF shape = polygon(line);
                if (l.id == s.selected) {
                    p.setPen(halo);
                    p.drawPolyline(shape);
                }
                p.setPen(pen);
                p.drawPolyline(shape);
                drawn_.push_back({l.id, std::move(line)});
            }
        }
    }
}

void Overlay::paintFix(QPainter& p, const View& view, const fix::FixResult& f,
                       const MapLook& look) {
    if (!OnMap(f.position)) {
        return;
    }
    const QColor colour = Ink(look, kFixColour);
    QColor fill = colour;
    fill.setAlpha(40);
    for (const fix::Ellipse* e : {&f.ellipse95, &f.ellipse50}) {
        p.setPen(QPen(colour, 1.8 * look.scale, e == &f.ellipse95 ? Qt::DashLine : Qt::SolidLine));
        p.setBrush(e == &f.ellipse50 ? QBrush(fill) : QBrush());
        for (const WorldPath& piece :
             WorldPieces(fix::EllipseOutline(f.position, *e, kOutlinePoints))) {
            for (const Polyline& line : OnScreen(view, piece, kMargin)) {
                // Filled only when whole: a cut outline closed up would draw a false edge.
                if (line.size() == piece.size() && line.front() == line.back()) {
                    p.drawPolygon(polygon(line));
                } else {
                    p.drawPolyline(polygon(line));
                }
            }
        }
    }
    const QPointF c = placed(view, f.position);
    const double u = 6 * look.scale;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Ink(look, Qt::white, true), 5 * look.scale));
    p.drawEllipse(c, u, u);
    p.setPen(QPen(colour, 2.5 * look.scale));
    p.drawEllipse(c, u, u);
    p.drawLine(c - QPointF(2 * u, 0), c - QPointF(u, 0));
    p.drawLine(c + QPointF(2 * u, 0), c + QPointF(u, 0));
    p.drawLine(c - QPointF(0, 2 * u), c - QPointF(0, u));
    p.drawLine(c + QPointF(0, 2 * u), c + QPointF(0, u));
}

}  // namespace kestrova::map
