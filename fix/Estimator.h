#pragma once
// Where the transmitter is: the maximum-likelihood position on the WGS-84 ellipsoid for a set
// of lines of bearing, with error ellipses, or the reason there is none.

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "core/Readings.h"

namespace kestrova::fix {

// One bearing as the estimator takes it. Give them in the order they were taken: bearings
// close together on the road are taken to share part of their error.
struct Observation {
    GeoPosition station;
    double trueBearing = 0;  // degrees true
    bool leftOut = false;    // not used for the fix, but given a residual
};

struct FixOptions {
    // One standard deviation of a bearing; none: estimated from the residuals when there
    // are enough bearings, the nominal one otherwise.
    std::optional<double> sigmaDegrees;
    double nominalSigmaDegrees = 5.0;
    // Bearings taken within this much travel share one stretch: they are averaged before
    // their scatter is judged, so that errors they have in common do not shrink the ellipse.
    double stretchMetres = 100.0;
};

enum class Refusal {
    None,
    TooFewBearings,  // fewer than two usable bearings
    NearlyParallel,  // the lines do not cross measurably (driving straight at or away)
    BehindStations,  // a quarter or more of the bearings point away from the crossing
    NoConvergence,   // the estimate did not settle
};

// The reason for people: "fewer than two usable bearings", ...
std::string_view RefusalText(Refusal r);

struct Ellipse {
    double probability = 0;  // 0.5 or 0.95: the chance that it holds the transmitter
    double semiMajorMetres = 0;
    double semiMinorMetres = 0;
    double orientationDegrees = 0;  // azimuth of the major axis, degrees true, 0 <= o < 180
};

struct BearingVerdict {
    // Measured less predicted from the fix, degrees, -180 <= r < 180; NaN when the bearing
    // is unusable or there is no fix to compare with.
    double residualDegrees = 0;
    bool used = false;  // it counted in the fix (not unusable, left out or judged wild)
};

struct FixResult {
    Refusal refusal = Refusal::TooFewBearings;
    GeoPosition position;  // the fix; meaningful only without a refusal
    Ellipse ellipse50;
    Ellipse ellipse95;
    // Covariance of the fix in metres squared, east and north at the fix: ee, en, nn.
    std::array<double, 3> covariance{};
    double sigmaDegrees = 0;      // the bearing sigma the ellipses are drawn with
    bool sigmaEstimated = false;  // from the residuals, not given or nominal
    // Nominal: too few stretches to estimate it and none given; each stretch then counts as
    // one bearing.
    bool sigmaNominal = false;
    int given = 0;                         // observations handed in
    int usable = 0;                        // finite, on the globe, not left out
    int used = 0;                          // of those, counted in the fix
    std::vector<BearingVerdict> bearings;  // one per observation, in their order

    bool ok() const { return refusal == Refusal::None; }
};

FixResult EstimateFix(std::span<const Observation> observations, const FixOptions& options);

}  // namespace kestrova::fix
