#include "fix/Spread.h"

#include <cmath>
#include <numbers>

#include "fix/Geodesy.h"

namespace kestrova::fix {

bool Sym2::wellPosed() const {
    const double trace = xx + yy;
    return std::isfinite(trace) && trace > 0 && det() > 1e-14 * trace * trace;
}

Sym2 Sym2::inverse() const {
    const double d = det();
    return {yy / d, -xy / d, xx / d};
}

double Sym2::largestEigenvalue() const {
    const double half = (xx + yy) / 2;
    return half + std::hypot((xx - yy) / 2, xy);
}

void Solve(const Sym2& m, double bx, double by, double& x, double& y) {
    const double d = m.det();
    x = (m.yy * bx - m.xy * by) / d;
    y = (m.xx * by - m.xy * bx) / d;
}

double EllipseScale(double probability, int dof) {
    if (dof <= 0) {
        return -2.0 * std::log(1.0 - probability);
    }
    const double nu = dof;
    return nu * (std::pow(1.0 - probability, -2.0 / nu) - 1.0);
}

Ellipse EllipseOf(const Sym2& covariance, double probability, double scale) {
    const double major = covariance.largestEigenvalue();
    const double minor = std::max(0.0, covariance.xx + covariance.yy - major);
    // The major axis's direction: an eigenvector, taken from whichever row is better conditioned.
    double ex = covariance.xy, ey = major - covariance.xx;
    if (std::fabs(major - covariance.yy) > std::fabs(ey)) {
        ex = major - covariance.yy;
        ey = covariance.xy;
    }
    const double azimuth = ex == 0 && ey == 0 ? 0.0 : std::atan2(ex, ey) * 180.0 / std::numbers::pi;
    Ellipse e;
    e.probability = probability;
    e.semiMajorMetres = std::sqrt(scale * major);
    e.semiMinorMetres = std::sqrt(scale * minor);
    e.orientationDegrees = std::fmod(Wrap360(azimuth), 180.0);
    return e;
}

}  // namespace kestrova::fix
