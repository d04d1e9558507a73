// The fix: noise-free geometries meet at the transmitter, wild and left-out bearings are
// judged, the ellipses have the size the geometry and sigma call for, and every refusal
// comes with its reason.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include <fstream>
#include <sstream>

#include "fix/BearingLogReader.h"
#include "fix/Estimator.h"
#include "fix/Geodesy.h"
#include "fix/Spread.h"

namespace kestrova::fix {
namespace {

std::vector<GeoPosition> road(const GeoPosition& start, double azimuth, double metres, int n) {
    std::vector<GeoPosition> s;
    for (int i = 0; i < n; ++i) {
        s.push_back(Move(start, azimuth, metres * i / std::max(1, n - 1)));
    }
    return s;
}

// Each station's exact bearing to `tx`, plus `offsets` (degrees) where given.
std::vector<Observation> towards(const std::vector<GeoPosition>& stations, const GeoPosition& tx,
                                 const std::vector<double>& offsets = {}) {
    std::vector<Observation> obs;
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const double off = i < offsets.size() ? offsets[i] : 0;
        obs.push_back({stations[i], Look(stations[i], tx).azimuth + off, false});
    }
    return obs;
}

TEST(Estimator, NoiseFreeBearingsMeetAtTheTransmitter) {
    struct Case {
        GeoPosition start;
        double roadAzimuth, roadMetres;
        int stations;
        double txAzimuth, txMetres;  // from the start
    } cases[] = {
        {{52.3, 5.1}, 90, 4000, 101, 18.4, 6300},     // past the middle
        {{-33.9, 151.2}, 10, 4000, 41, 60, 1000},     // close by, southern hemisphere
        {{69.9, 179.99}, 270, 4000, 21, 200, 50000},  // far, high, across the antimeridian
        {{0, -0.01}, 0, 40000, 2, 90, 30000},         // two stations 40 km apart
        {{45, 10}, 135, 2000, 7, 300, 3000},          // behind the start, to the side
    };
    for (const Case& c : cases) {
        const GeoPosition tx = Move(c.start, c.txAzimuth, c.txMetres);
        const auto obs = towards(road(c.start, c.roadAzimuth, c.roadMetres, c.stations), tx);
        const FixResult f = EstimateFix(obs, {});
        ASSERT_TRUE(f.ok()) << RefusalText(f.refusal) << " at " << c.start.latitude;
        EXPECT_LT(Metres(f.position, tx), 0.05) << c.start.latitude;
        EXPECT_EQ(f.used, c.stations);
        for (const BearingVerdict& v : f.bearings) {
            EXPECT_NEAR(v.residualDegrees, 0, 1e-6);
        }
    }
}

TEST(Estimator, WildAndLeftOutBearingsAreJudgedButDoNotMoveTheFix) {
    const GeoPosition start{48.1, 11.5};
    const GeoPosition tx = Move(start, 30, 8000);
    std::vector<Observation> obs =
        towards(road(start, 100, 5000, 30), tx, {0, 40, 0, 0, 0, 0, -120, 0, 0, 0, 0, 0, 0, 90});
    obs[20].trueBearing += 2.5;
    obs[20].leftOut = true;
    obs.push_back({{std::nan(""), 11.5}, 10, false});
    const FixResult f = EstimateFix(obs, {});
    ASSERT_TRUE(f.ok());
    EXPECT_LT(Metres(f.position, tx), 0.05);
    EXPECT_EQ(f.given, 31);
    EXPECT_EQ(f.usable, 29);
    EXPECT_EQ(f.used, 26);
    const std::pair<std::size_t, double> judged[] = {{1, 40}, {6, -120}, {13, 90}, {20, 2.5}};
    for (const auto& [i, off] : judged) {
        EXPECT_FALSE(f.bearings[i].used) << i;
        EXPECT_NEAR(f.bearings[i].residualDegrees, off, 1e-6) << i;
    }
    EXPECT_TRUE(std::isnan(f.bearings[30].residualDegrees));
}

// Two bearings crossing at right angles, 28 km out: the covariance is sigma squared times the
// reduced length squared on both axes, scaled by the chi-square quantiles.
TEST(Estimator, EllipsesFollowTheGeometryAndTheSigma) {
    const GeoPosition a{45, 7};
    const GeoPosition b = Move(a, 90, 40000);
    const GeoPosition tx = Move(Move(a, 90, 20000), 0, 20000);
    const auto obs = towards({a, b}, tx);
    const double m = Look(a, tx).reducedLength;
    for (const auto& [given, sigma] : {std::pair{true, 1.0}, std::pair{false, 5.0}}) {
        FixOptions o;
        o.sigmaDegrees = given ? std::optional(sigma) : std::nullopt;
        const FixResult f = EstimateFix(obs, o);
        ASSERT_TRUE(f.ok());
        EXPECT_EQ(f.sigmaNominal, !given);
        EXPECT_DOUBLE_EQ(f.sigmaDegrees, sigma);
        const double oneSigma = sigma * std::numbers::pi / 180 * m;
        EXPECT_NEAR(f.ellipse95.semiMajorMetres, oneSigma * std::sqrt(5.99146), oneSigma * 0.01);
        EXPECT_NEAR(f.ellipse95.semiMinorMetres, oneSigma * std::sqrt(5.99146), oneSigma * 0.01);
        EXPECT_NEAR(f.ellipse50.semiMajorMetres, oneSigma * std::sqrt(1.38629), oneSigma * 0.01);
    }
    // Far down a short road the error runs along the range: north here.
    const auto stations = road({52, 5}, 90, 4000, 51);
    const GeoPosition distant = Move(stations[25], 10, 9000);
    const FixResult far = EstimateFix(towards(stations, distant), FixOptions{2.0, 5.0, 100.0});
    ASSERT_TRUE(far.ok());
    EXPECT_GT(far.ellipse95.semiMajorMetres, 4 * far.ellipse95.semiMinorMetres);
    EXPECT_NEAR(far.ellipse95.orientationDegrees, 10, 1);
}

// Errors that alternate share nothing: the estimated sigma is the residuals' scatter over
// n - 2 degrees of freedom, widened for the normal errors the 3.5-sigma cut would drop.
TEST(Estimator, SigmaIsTheScatterOfTheResiduals) {
    const auto stations = road({52, 5}, 90, 4000, 21);  // a stretch each
    std::vector<double> offsets;
    for (int i = 0; i < 21; ++i) {
        offsets.push_back(i % 2 == 0 ? 1.0 : -1.5);
    }
    const FixResult f = EstimateFix(towards(stations, Move(stations[10], 20, 3000), offsets), {});
    ASSERT_TRUE(f.ok());
    ASSERT_TRUE(f.sigmaEstimated);
    double squares = 0;
    for (const BearingVerdict& v : f.bearings) {
        squares += v.residualDegrees * v.residualDegrees;
    }
    const double keptOfNormal = 0.993888;  // the variance left after cutting at 3.5 sigma
    EXPECT_NEAR(f.sigmaDegrees, std::sqrt(squares / 19 / keptOfNormal), 1e-5);
}

TEST(Estimator, EllipseScalesAreTheChiSquareAndFQuantiles) {
    EXPECT_NEAR(EllipseScale(0.95, 0), 5.99146, 1e-5);
    EXPECT_NEAR(EllipseScale(0.5, 0), 1.38629, 1e-5);
    EXPECT_NEAR(EllipseScale(0.95, 10), 2 * 4.10282, 1e-4);  // F(2, 10)
    EXPECT_NEAR(EllipseScale(0.5, 3), 2 * 0.88110, 1e-4);    // F(2, 3)
}

TEST(Estimator, RefusesWithTheReason) {
    const GeoPosition a{52, 5};
    const GeoPosition b = Move(a, 90, 10000);
    const auto ahead = road(a, 90, 4000, 41);
    const struct {
        const char* what;
        std::vector<Observation> obs;
        Refusal refusal;
    } cases[] = {
        {"nothing", {}, Refusal::TooFewBearings},
        {"one bearing", {{a, 10, false}}, Refusal::TooFewBearings},
        {"one usable",
         {{a, 10, false}, {b, std::nan(""), false}, {{95, 5}, 0, false}},
         Refusal::TooFewBearings},
        {"one left in", {{a, 10, false}, {b, 350, true}}, Refusal::TooFewBearings},
        {"diverging", {{a, 300, false}, {b, 60, false}}, Refusal::BehindStations},
        {"straight at it", towards(ahead, Move(a, 90, 10000)), Refusal::NearlyParallel},
        {"all from one place", towards(std::vector<GeoPosition>(20, a), b),
         Refusal::NearlyParallel},
        {"scattered, straight at it",
         towards(ahead, Move(a, 90, 10000), {3, -2, 4, -5, 1, -3, 2, 0, -1, 4, -4, 2, -2, 5}),
         Refusal::NearlyParallel},
    };
    for (const auto& c : cases) {
        const FixResult f = EstimateFix(c.obs, {});
        EXPECT_EQ(f.refusal, c.refusal) << c.what << ": " << RefusalText(f.refusal);
        EXPECT_EQ(f.used, 0) << c.what;
        EXPECT_EQ(f.bearings.size(), c.obs.size()) << c.what;
        EXPECT_FALSE(RefusalText(c.refusal).empty());
    }
}

// A bearing log the program wrote on 1 km of road 6 km from the transmitter, a few bearings
// wild: lines that nearly agree, whose reweighted crossing once settled among the stations and
// was refused as behind them. The fix holds the truth within its 95 % ellipse.
TEST(Estimator, AShortRoadWithWildBearingsStillCrossesAhead) {
    std::ifstream in(KESTROVA_SOURCE_DIR "/tests/fix/short-road.csv");
    std::stringstream text;
    text << in.rdbuf();
    LogContents log;
    ReadBearingLog(text.str(), {}, log);
    Finish(log);
    std::vector<Observation> obs;
    for (const LogBearing& b : log.bearings) {
        obs.push_back({b.station, b.trueBearing, false});
    }
    ASSERT_EQ(obs.size(), 120u);
    const FixResult f = EstimateFix(obs, {});
    ASSERT_TRUE(f.ok()) << RefusalText(f.refusal);
    const Sight g = Look(f.position, {52.353921, 5.129356});
    const double along =
        g.metres * std::cos((g.azimuth - f.ellipse95.orientationDegrees) * std::numbers::pi / 180);
    const double across =
        g.metres * std::sin((g.azimuth - f.ellipse95.orientationDegrees) * std::numbers::pi / 180);
    EXPECT_LE(std::hypot(along / f.ellipse95.semiMajorMetres, across / f.ellipse95.semiMinorMetres),
              1.0);
    EXPECT_GE(f.used, 100);
}

}  // namespace
}  // namespace kestrova::fix
