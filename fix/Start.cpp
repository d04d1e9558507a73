#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/Gnomonic.hpp>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "fix/Fit.h"
#include "fix/Geodesy.h"
#include "fix/Spread.h"

namespace kestrova::fix {

namespace {

constexpr int kRounds = 8;
constexpr double kBiweight = 4.685;  // 95 % efficient on normal errors
constexpr double kProbeMetres = 1000;

struct Line {
    double px = 0, py = 0;  // station
    double ux = 0, uy = 0;  // unit direction of the bearing
    bool drawn = false;     // the projection could draw it
};

struct Round {
    std::vector<double> angle;     // from the bearing to the point, radians, signed
    std::vector<double> distance;  // metres, never below one
};

Round measure(const std::vector<Line>& lines, double x, double y) {
    Round r;
    for (const Line& l : lines) {
        const double vx = x - l.px, vy = y - l.py;
        r.angle.push_back(l.drawn ? std::atan2(l.ux * vy - l.uy * vx, l.ux * vx + l.uy * vy) : 0);
        r.distance.push_back(std::max(1.0, std::hypot(vx, vy)));
    }
    return r;
}

// Least squares on the distances of the point from the lines, each divided by the line's
// length to the point: angular errors.
bool solve(const std::vector<Line>& lines, const Round& r, const std::vector<double>& w, double& x,
           double& y) {
    Sym2 a;
    double bx = 0, by = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        const double weight = w[i] / (r.distance[i] * r.distance[i]);
        const double nx = -l.uy, ny = l.ux;
        a.add(nx, ny, weight);
        const double along = nx * l.px + ny * l.py;
        bx += weight * nx * along;
        by += weight * ny * along;
    }
    if (!a.wellPosed()) {
        return false;
    }
    Solve(a, bx, by, x, y);
    return true;
}

std::vector<double> weights(const std::vector<Line>& lines, const Round& r) {
    std::vector<double> w(lines.size());
    const bool judge = lines.size() >= kFewestToJudge;
    const double limit = kBiweight * (judge ? RobustScale(r.angle) : 0);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double u = judge ? r.angle[i] / limit : 0;
        w[i] = lines[i].drawn && std::fabs(u) < 1 ? (1 - u * u) * (1 - u * u) : 0;
    }
    return w;
}

// How far the crossing could move along its worst axis, as a share of its distance from
// the stations, had the bearings the given scatter.
double relativeSpread(const std::vector<Line>& lines, const Round& r, const std::vector<double>& w,
                      double sigma) {
    Sym2 h;
    std::vector<char> used(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (w[i] <= 0) {
            continue;
        }
        const double d = r.distance[i];
        const double vx = lines[i].ux * std::cos(r.angle[i]) - lines[i].uy * std::sin(r.angle[i]);
        const double vy = lines[i].ux * std::sin(r.angle[i]) + lines[i].uy * std::cos(r.angle[i]);
        h.add(-vy / d, vx / d, w[i]);
        used[i] = 1;
    }
    if (!h.wellPosed()) {
        return HUGE_VAL;
    }
    return sigma * std::sqrt(h.inverse().largestEigenvalue()) / Median(r.distance, &used);
}

// The bearings as lines in the plane: each from its station towards a point along it.
std::vector<Line> draw(const std::vector<Ray>& rays, const GeographicLib::Gnomonic& plane,
                       const GeoPosition& centre) {
    std::vector<Line> lines(rays.size());
    for (std::size_t i = 0; i < rays.size(); ++i) {
        const GeoPosition probe = Move(rays[i].station, rays[i].bearing, kProbeMetres);
        double qx = 0, qy = 0;
        Line& l = lines[i];
        plane.Forward(centre.latitude, centre.longitude, rays[i].station.latitude,
                      rays[i].station.longitude, l.px, l.py);
        plane.Forward(centre.latitude, centre.longitude, probe.latitude, probe.longitude, qx, qy);
        const double len = std::hypot(qx - l.px, qy - l.py);
        l.drawn = std::isfinite(len) && len > 0;
        l.ux = l.drawn ? (qx - l.px) / len : 0;
        l.uy = l.drawn ? (qy - l.py) / len : 0;
        l.px = l.drawn ? l.px : 0;
        l.py = l.drawn ? l.py : 0;
    }
    return lines;
}

// Where the lines cross, by least squares reweighted against outliers; false when they do
// not cross measurably.
bool crossing(const std::vector<Line>& lines, double& x, double& y, Round& r,
              std::vector<double>& w) {
    std::transform(lines.begin(), lines.end(), w.begin(), [](const Line& l) { return l.drawn; });
    double plainX = 0, plainY = 0;
    for (int round = 0; round <= kRounds; ++round) {
        if (!solve(lines, r, w, x, y)) {
            return false;
        }
        if (round == 0) {
            plainX = x;
            plainY = y;
        }
        r = measure(lines, x, y);
        w = weights(lines, r);
    }
    // Reweighting can settle among the stations, where lines that nearly agree seem to point
    // every way; the plain least squares then still says where they cross.
    if (MostlyBehind(r.angle)) {
        x = plainX;
        y = plainY;
        r = measure(lines, x, y);
        w = weights(lines, r);
    }
    return true;
}

}  // namespace

Start PlanarStart(const std::vector<Ray>& rays, std::optional<double> sigma, double nominal) {
    const GeoPosition centre = rays[rays.size() / 2].station;
    const GeographicLib::Gnomonic plane(GeographicLib::Geodesic::WGS84());
    const std::vector<Line> lines = draw(rays, plane, centre);
    double x = 0, y = 0;
    Round r{std::vector<double>(lines.size(), 0), std::vector<double>(lines.size(), 1)};
    std::vector<double> w(lines.size());
    if (!crossing(lines, x, y, r, w)) {
        return {Refusal::NearlyParallel, {}};
    }
    // Lines that barely cross may do so anywhere, behind the stations too: that says less.
    const double scatter = sigma                           ? *sigma
                           : rays.size() >= kFewestToJudge ? RobustScale(r.angle)
                                                           : nominal;
    if (!(relativeSpread(lines, r, w, scatter) <= kMaxRelativeSpread)) {
        return {Refusal::NearlyParallel, {}};
    }
    if (MostlyBehind(r.angle)) {
        return {Refusal::BehindStations, {}};
    }
    Start s;
    plane.Reverse(centre.latitude, centre.longitude, x, y, s.position.latitude,
                  s.position.longitude);
    if (!OnGlobe(s.position)) {
        return {Refusal::NoConvergence, {}};
    }
    return s;
}

}  // namespace kestrova::fix
