#include "fix/Estimator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "fix/Fit.h"
#include "fix/Geodesy.h"
#include "fix/Spread.h"

namespace kestrova::fix {

namespace {

constexpr int kMaxIterations = 60;
constexpr int kJudgedIterations = 12;  // then the set of bearings used stays as it is
constexpr int kHalvings = 30;
constexpr double kSettledMetres = 1e-3;
constexpr double kReject = 3.5;  // bearings further off than this many robust sigmas are wild
// The variance of normal errors cut off at kReject sigmas, as a share of the whole.
double keptVariance() {
    const double density = std::exp(-kReject * kReject / 2) / std::sqrt(2 * std::numbers::pi);
    return 1 - 2 * kReject * density / std::erf(kReject / std::numbers::sqrt2);
}
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Each ray's residual and its gradient at one point.
struct Look1 {
    std::vector<double> residual;  // radians, measured less predicted
    std::vector<double> gx, gy;    // d(predicted)/d(east, north), radians per metre
    std::vector<double> metres;    // from the station
    bool valid = true;
};

// The normal equations of the stretch averages, for the rays in `used`.
struct Normal {
    Sym2 h;        // sum over stretches of n * mean gradient squared
    Sym2 perLine;  // the same with each stretch counting once
    double gx = 0, gy = 0;
    double cost = 0;
    std::size_t stretches = 0;
    std::vector<double> scaled;  // each stretch's mean residual times the root of its count
};

Look1 lookFrom(const std::vector<Ray>& rays, const GeoPosition& at) {
    Look1 l;
    for (const Ray& r : rays) {
        const Sight s = Look(r.station, at);
        const Gradient g = AzimuthGradient(s);
        l.valid = l.valid && s.reducedLength > 0;
        l.residual.push_back(Wrap180(r.bearing - s.azimuth) * kRadiansPerDegree);
        l.gx.push_back(g.east);
        l.gy.push_back(g.north);
        l.metres.push_back(s.metres);
    }
    return l;
}

Normal normal(const std::vector<Ray>& rays, const Look1& l, const std::vector<char>& used,
              std::size_t stretches) {
    struct Sum {
        double n = 0, r = 0, gx = 0, gy = 0;
    };
    std::vector<Sum> sum(stretches);
    for (std::size_t i = 0; i < rays.size(); ++i) {
        if (used[i]) {
            Sum& s = sum[rays[i].stretch];
            s.n += 1;
            s.r += l.residual[i];
            s.gx += l.gx[i];
            s.gy += l.gy[i];
        }
    }
    Normal m;
    for (const Sum& s : sum) {
        if (s.n > 0) {
            m.h.add(s.gx, s.gy, 1 / s.n);
            m.perLine.add(s.gx, s.gy, 1 / (s.n * s.n));
            m.gx += s.gx * s.r / s.n;
            m.gy += s.gy * s.r / s.n;
            m.cost += s.r * s.r / s.n;
            m.scaled.push_back(s.r / std::sqrt(s.n));
            ++m.stretches;
        }
    }
    return m;
}

// Rays within kReject robust sigmas; all of them while there are too few to judge.
std::vector<char> judge(const Look1& l) {
    std::vector<char> used(l.residual.size(), 1);
    if (used.size() >= kFewestToJudge) {
        const double limit = kReject * RobustScale(l.residual);
        for (std::size_t i = 0; i < used.size(); ++i) {
            used[i] = std::fabs(l.residual[i]) <= limit ? 1 : 0;
        }
    }
    return used;
}

struct Solution {
    bool converged = false;
    GeoPosition at;
    Look1 look;
    std::vector<char> used;
    Normal normal;
};

// Gauss-Newton on the ellipsoid from `start`: each step is solved in the east-north plane at
// the current point and taken along the geodesic, halved while it makes things worse.
Solution refine(const std::vector<Ray>& rays, std::size_t stretches, const GeoPosition& start) {
    Solution s{false, start, lookFrom(rays, start), {}, {}};
    s.used = judge(s.look);
    s.normal = normal(rays, s.look, s.used, stretches);
    for (int it = 0; it < kMaxIterations && s.look.valid; ++it) {
        if (!s.normal.h.wellPosed()) {
            return s;
        }
        double dx = 0, dy = 0;
        Solve(s.normal.h, s.normal.gx, s.normal.gy, dx, dy);
        double step = std::hypot(dx, dy);
        const double azimuth = std::atan2(dx, dy) / kRadiansPerDegree;
        // Never further in one step than the stations are from the point.
        step = std::min(step, Median(s.look.metres, &s.used));
        Solution next = s;
        for (int h = 0; h < kHalvings; ++h, step /= 2) {
            next.at = Move(s.at, azimuth, step);
            next.look = lookFrom(rays, next.at);
            next.normal = normal(rays, next.look, s.used, stretches);
            if (next.look.valid && next.normal.cost <= s.normal.cost * (1 + 1e-12)) {
                break;
            }
        }
        s = std::move(next);
        const bool settled = step < kSettledMetres;
        if (it < kJudgedIterations) {
            std::vector<char> used = judge(s.look);
            if (used != s.used) {
                s.used = std::move(used);
                s.normal = normal(rays, s.look, s.used, stretches);
                continue;
            }
        }
        if (settled) {
            s.converged = s.look.valid;
            return s;
        }
    }
    return s;
}

// How much errors that neighbouring stretches share add to the variance of the fix: the
// long-run factor (1 + r) / (1 - r) of a first-order autoregression with the stretches'
// neighbour correlation r, when that is positive.
double persistence(const std::vector<double>& scaled) {
    double lag0 = 0, lag1 = 0;
    for (std::size_t k = 0; k < scaled.size(); ++k) {
        lag0 += scaled[k] * scaled[k];
        lag1 += k > 0 ? scaled[k] * scaled[k - 1] : 0;
    }
    const double r = lag0 > 0 ? std::clamp(lag1 / lag0, 0.0, 0.9) : 0;
    return (1 + r) / (1 - r);
}

// The covariance of the fix (metres squared), the sigma it rests on, and the scale of its
// ellipses' degrees of freedom.
struct Uncertainty {
    Sym2 covariance;
    double sigma = 0;  // radians
    bool estimated = false;
    bool nominal = false;
    int dof = 0;  // 0: sigma taken as known
    bool ok = false;
};

Uncertainty uncertainty(const Normal& m, const FixOptions& o, bool judged) {
    Uncertainty u;
    const double floor = kSigmaFloorDegrees * kRadiansPerDegree;
    Sym2 information = m.h;
    if (o.sigmaDegrees) {
        u.sigma = *o.sigmaDegrees * kRadiansPerDegree;
    } else if (m.stretches >= kFewestToJudge) {
        u.dof = static_cast<int>(m.stretches) - 2;
        const double kept = judged ? keptVariance() : 1.0;
        u.sigma = std::max(floor, std::sqrt(m.cost / u.dof / kept * persistence(m.scaled)));
        u.estimated = true;
    } else {
        // Too few stretches to tell how much their bearings share: each counts as one.
        u.sigma = o.nominalSigmaDegrees * kRadiansPerDegree;
        information = m.perLine;
        u.nominal = true;
    }
    u.ok = information.wellPosed() && u.sigma > 0;
    if (u.ok) {
        u.covariance = information.inverse().scaled(u.sigma * u.sigma);
    }
    return u;
}

// Numbers each ray's stretch: a new one starts once the road has left the last start
// further behind than the stretch's length.
std::size_t stretch(std::vector<Ray>& rays, double metres) {
    std::size_t k = 0;
    GeoPosition from = rays.front().station;
    for (Ray& r : rays) {
        if (Metres(from, r.station) > metres) {
            ++k;
            from = r.station;
        }
        r.stretch = k;
    }
    return k + 1;
}

std::vector<Ray> usableRays(std::span<const Observation> observations) {
    std::vector<Ray> rays;
    for (std::size_t i = 0; i < observations.size(); ++i) {
        const Observation& o = observations[i];
        if (!o.leftOut && OnGlobe(o.station) && std::isfinite(o.trueBearing)) {
            rays.push_back({o.station, Wrap360(o.trueBearing), i, 0});
        }
    }
    return rays;
}

void fill(FixResult& r, std::span<const Observation> observations, const std::vector<Ray>& rays,
          const Solution& s, const Uncertainty& u) {
    r.position = s.at;
    r.covariance = {u.covariance.xx, u.covariance.xy, u.covariance.yy};
    r.sigmaDegrees = u.sigma / kRadiansPerDegree;
    r.sigmaEstimated = u.estimated;
    r.sigmaNominal = u.nominal;
    r.ellipse50 = EllipseOf(u.covariance, 0.5, EllipseScale(0.5, u.dof));
    r.ellipse95 = EllipseOf(u.covariance, 0.95, EllipseScale(0.95, u.dof));
    for (std::size_t i = 0; i < rays.size(); ++i) {
        r.bearings[rays[i].index] = {s.look.residual[i] / kRadiansPerDegree, s.used[i] != 0};
        r.used += s.used[i];
    }
    for (std::size_t i = 0; i < observations.size(); ++i) {
        const Observation& o = observations[i];
        if (o.leftOut && OnGlobe(o.station) && std::isfinite(o.trueBearing)) {
            r.bearings[i].residualDegrees = Wrap180(o.trueBearing - Look(o.station, s.at).azimuth);
        }
    }
}

}  // namespace

double Median(const std::vector<double>& values, const std::vector<char>* mask) {
    std::vector<double> a;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!mask || (*mask)[i]) {
            a.push_back(values[i]);
        }
    }
    if (a.empty()) {
        return 0;
    }
    std::nth_element(a.begin(), a.begin() + static_cast<long>(a.size() / 2), a.end());
    return a[a.size() / 2];
}

bool MostlyBehind(const std::vector<double>& residuals) {
    const auto behind = std::count_if(residuals.begin(), residuals.end(),
                                      [](double a) { return std::fabs(a) > std::numbers::pi / 2; });
    return static_cast<double>(behind) >= kMaxBehind * static_cast<double>(residuals.size());
}

double RobustScale(const std::vector<double>& residuals, const std::vector<char>* mask) {
    std::vector<double> a(residuals.size());
    std::transform(residuals.begin(), residuals.end(), a.begin(),
                   [](double r) { return std::fabs(r); });
    return std::max(kSigmaFloorDegrees * kRadiansPerDegree, 1.4826 * Median(a, mask));
}

std::string_view RefusalText(Refusal r) {
    switch (r) {
        case Refusal::None:
            return "fix";
        case Refusal::TooFewBearings:
            return "fewer than two usable bearings";
        case Refusal::NearlyParallel:
            return "the lines of bearing are nearly parallel: they do not cross measurably";
        case Refusal::BehindStations:
            return "the lines of bearing cross behind the stations: a quarter or more point away";
        case Refusal::NoConvergence:
            return "the estimate did not converge";
    }
    return "";
}

FixResult EstimateFix(std::span<const Observation> observations, const FixOptions& options) {
    FixResult r;
    r.given = static_cast<int>(observations.size());
    r.bearings.assign(observations.size(), {kNaN, false});
    std::vector<Ray> rays = usableRays(observations);
    r.usable = static_cast<int>(rays.size());
    if (rays.size() < 2) {
        r.refusal = Refusal::TooFewBearings;
        return r;
    }
    const std::size_t stretches = stretch(rays, options.stretchMetres);
    const std::optional<double> sigma =
        options.sigmaDegrees ? std::optional(*options.sigmaDegrees * kRadiansPerDegree)
                             : std::nullopt;
    const Start start = PlanarStart(rays, sigma, options.nominalSigmaDegrees * kRadiansPerDegree);
    if (start.refusal != Refusal::None) {
        r.refusal = start.refusal;
        return r;
    }
    const Solution s = refine(rays, stretches, start.position);
    if (!s.converged) {
        r.refusal = Refusal::NoConvergence;
        return r;
    }
    const Uncertainty u = uncertainty(s.normal, options, rays.size() >= kFewestToJudge);
    if (!u.ok || !(std::sqrt(u.covariance.largestEigenvalue()) <=
                   kMaxRelativeSpread * Median(s.look.metres, &s.used))) {
        r.refusal = Refusal::NearlyParallel;
        return r;
    }
    if (MostlyBehind(s.look.residual)) {
        r.refusal = Refusal::BehindStations;
        return r;
    }
    r.refusal = Refusal::None;
    fill(r, observations, rays, s, u);
    return r;
}

}  // namespace kestrova::fix
