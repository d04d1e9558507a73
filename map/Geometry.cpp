#include "map/Geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace kestrova::map {

namespace {

// Liang-Barsky: the part of a-b inside r, as fractions t0 <= t1 along it; none when outside.
std::optional<std::pair<double, double>> inside(const ScreenPoint& a, const ScreenPoint& b,
                                                const ScreenRect& r) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - r.left, r.right - a.x, a.y - r.top, r.bottom - a.y};
    double t0 = 0, t1 = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return std::nullopt;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
    }
    if (t0 > t1) {
        return std::nullopt;
    }
    return std::pair{t0, t1};
}

ScreenPoint along(const ScreenPoint& a, const ScreenPoint& b, double t) {
    return {a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
}

double distanceToSegment(const ScreenPoint& p, const ScreenPoint& a, const ScreenPoint& b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    const double t =
        length2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / length2, 0.0, 1.0) : 0;
    const ScreenPoint c = along(a, b, t);
    return std::hypot(p.x - c.x, p.y - c.y);
}

// Points of a path this far apart in longitude are on no path of close points (one over a
// pole jumps by 180 degrees).
constexpr double kMaxStepDegrees = 90;

}  // namespace

std::vector<Polyline> Clip(std::span<const ScreenPoint> line, const ScreenRect& r) {
    std::vector<Polyline> out;
    bool open = false;  // the last part ends where the previous segment left off
    for (std::size_t i = 1; i < line.size(); ++i) {
        const auto t = inside(line[i - 1], line[i], r);
        if (!t) {
            open = false;
            continue;
        }
        if (!open) {
            out.push_back({along(line[i - 1], line[i], t->first)});
        }
        out.back().push_back(along(line[i - 1], line[i], t->second));
        open = t->second == 1;
    }
    return out;
}

std::vector<WorldPath> WorldPieces(std::span<const GeoPosition> path) {
    std::vector<WorldPath> out;
    bool open = false;
    double lastLongitude = 0;  // unwrapped, of the piece's last point
    for (const GeoPosition& p : path) {
        if (!OnMap(p) || std::abs(p.longitude) > 360) {
            open = false;
            continue;
        }
        double longitude = p.longitude;
        if (open) {
            const double step = std::remainder(longitude - lastLongitude, 360.0);
            open = std::abs(step) < kMaxStepDegrees;
            longitude = lastLongitude + step;
        }
        if (!open) {
            out.emplace_back();
            open = true;
        }
        out.back().push_back(ToWorld({p.latitude, longitude}));
        lastLongitude = longitude;
    }
    std::erase_if(out, [](const WorldPath& piece) { return piece.size() < 2; });
    return out;
}

std::vector<Polyline> OnScreen(const View& view, std::span<const WorldPoint> piece, double margin) {
    if (piece.empty()) {
        return {};
    }
    const auto [lo, hi] = std::minmax_element(
        piece.begin(), piece.end(), [](const auto& a, const auto& b) { return a.x < b.x; });
    const ScreenRect r{-margin, -margin, view.width() + margin, view.height() + margin};
    std::vector<Polyline> out;
    Polyline screen(piece.size());
    for (const int k : view.copies(lo->x, hi->x)) {
        std::transform(piece.begin(), piece.end(), screen.begin(), [&](const WorldPoint& w) {
            return view.toScreen({w.x + k, w.y});
        });
        for (Polyline& part : Clip(screen, r)) {
            out.push_back(std::move(part));
        }
    }
    return out;
}

std::optional<std::size_t> Nearest(std::span<const Drawn> drawn, const ScreenPoint& at,
                                   double tolerance) {
    std::optional<std::size_t> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (const Drawn& d : drawn) {
        for (std::size_t i = 1; i < d.points.size(); ++i) {
            const double distance = distanceToSegment(at, d.points[i - 1], d.points[i]);
            if (distance <= tolerance && distance <= bestDistance) {
                bestDistance = distance;
                best = d.owner;
            }
        }
    }
    return best;
}

std::vector<std::vector<GeoPosition>> SplitAtGaps(const std::deque<PositionShown>& track,
                                                  std::int64_t gapMs) {
    std::vector<std::vector<GeoPosition>> out;
    std::int64_t last = 0;
    for (const PositionShown& p : track) {
        if (out.empty() || p.time.steadyMs - last > gapMs) {
            out.emplace_back();
        }
        out.back().push_back(p.position);
        last = p.time.steadyMs;
    }
    return out;
}

}  // namespace kestrova::map
