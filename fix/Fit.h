#pragma once
// The estimator's working parts: the usable bearings as rays, the robust scale, and the
// closed-form start in a plane around the stations.

#include <cstddef>
#include <optional>
#include <vector>

#include "core/Readings.h"
#include "fix/Estimator.h"

namespace kestrova::fix {

struct Ray {
    GeoPosition station;
    double bearing = 0;     // degrees true
    std::size_t index = 0;  // of its observation
    std::size_t stretch = 0;
};

inline constexpr double kRadiansPerDegree = 0.017453292519943295;
// No bearing is known better than the tenth of a degree the display works in.
inline constexpr double kSigmaFloorDegrees = 0.1;
// Robust weights need a few bearings to judge by.
inline constexpr std::size_t kFewestToJudge = 5;
// A fix whose 1-sigma error along its worst axis exceeds this share of its distance from
// the stations is a crossing the noise could have made: the lines are as good as parallel.
inline constexpr double kMaxRelativeSpread = 0.25;

// 1.4826 times the median of |r|: the standard deviation of normal residuals, unmoved by a
// minority of wild ones; never below the floor (radians).
double RobustScale(const std::vector<double>& residuals, const std::vector<char>* mask = nullptr);

// The median of the values that `mask` (when given) keeps; 0 when there are none.
double Median(const std::vector<double>& values, const std::vector<char>* mask = nullptr);

// A crossing that this share of the bearings or more point away from is no crossing: wild
// bearings point anywhere, so it takes half of them wild to come near it by chance.
inline constexpr double kMaxBehind = 0.25;
bool MostlyBehind(const std::vector<double>& residuals);

struct Start {
    Refusal refusal = Refusal::None;
    GeoPosition position;
};

// Stansfield's least squares on the lines drawn in a gnomonic plane centred among the
// stations (where geodesics are nearly straight), reweighted by distance and by robust
// weights. `sigma`: radians, for judging whether the lines cross at all.
Start PlanarStart(const std::vector<Ray>& rays, std::optional<double> sigma, double nominal);

}  // namespace kestrova::fix
