#pragma once
// Two-by-two symmetric matrices for normal equations and covariances in a local east-north
// frame (x east, y north), and the error ellipses they make.

#include "fix/Estimator.h"

namespace kestrova::fix {

struct Sym2 {
    double xx = 0, xy = 0, yy = 0;

    void add(double x, double y, double weight) {
        xx += weight * x * x;
        xy += weight * x * y;
        yy += weight * y * y;
    }
    double det() const { return xx * yy - xy * xy; }
    // Far enough from singular to be inverted with meaning.
    bool wellPosed() const;
    Sym2 inverse() const;
    Sym2 scaled(double f) const { return {xx * f, xy * f, yy * f}; }
    double largestEigenvalue() const;
};

// x = m^-1 (bx, by)
void Solve(const Sym2& m, double bx, double by, double& x, double& y);

// The squared scale that turns a 1-sigma covariance into the ellipse holding `probability`:
// from the chi-square law with two degrees of freedom when the sigma is known, from the F
// law when it was estimated with `dof` degrees of freedom.
double EllipseScale(double probability, int dof);

Ellipse EllipseOf(const Sym2& covariance, double probability, double scale);

}  // namespace kestrova::fix
