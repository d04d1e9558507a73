// The fix against the Cramér-Rao lower bound: Monte-Carlo drives with known errors, the
// estimator's RMS error and bias as multiples of the bound for that geometry and noise, how
// often its ellipses hold the truth, noise-free geometry sweeps, and the time for a fix.
//   build/bin/kestrova_fix_accuracy [--trials N]     prints a Markdown table
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <numbers>
#include <string>
#include <vector>

#include "fix/Estimator.h"
#include "fix/Geodesy.h"
#include "fix/Spread.h"
#include "tools/sim/Model.h"

namespace {

using namespace kestrova;
using namespace kestrova::fix;

constexpr double kRad = std::numbers::pi / 180;

// A straight drive of `metres` along `azimuth` from `start`, `count` stations evenly spaced.
std::vector<GeoPosition> drive(const GeoPosition& start, double azimuth, double metres, int count) {
    std::vector<GeoPosition> s;
    for (int i = 0; i < count; ++i) {
        s.push_back(Move(start, azimuth, metres * i / (count - 1)));
    }
    return s;
}

// The information in independent bearings of `sigma` degrees, or in a run of them whose
// errors follow an AR(1) law with neighbour correlation `rho` (its inverse is tridiagonal).
Sym2 information(const std::vector<GeoPosition>& stations, const GeoPosition& tx, double sigma,
                 double rho = 0) {
    std::vector<Gradient> g;
    for (const GeoPosition& s : stations) {
        g.push_back(AzimuthGradient(Look(s, tx)));
    }
    const double scale = 1 / (sigma * kRad * sigma * kRad * (1 - rho * rho));
    Sym2 m;
    for (std::size_t i = 0; i < g.size(); ++i) {
        const bool edge = i == 0 || i + 1 == g.size();
        m.add(g[i].east, g[i].north, scale * (edge ? 1 : 1 + rho * rho));
        if (i + 1 < g.size()) {
            // The off-diagonal -rho couples neighbours: twice, once for each order.
            m.xx -= 2 * scale * rho * g[i].east * g[i + 1].east;
            m.xy -= scale * rho * (g[i].east * g[i + 1].north + g[i].north * g[i + 1].east);
            m.yy -= 2 * scale * rho * g[i].north * g[i + 1].north;
        }
    }
    return m;
}

bool inside(const FixResult& f, const Ellipse& e, const GeoPosition& tx) {
    const Sight s = Look(f.position, tx);
    const double off = (s.azimuth - e.orientationDegrees) * kRad;
    const double u = s.metres * std::cos(off) / e.semiMajorMetres;
    const double v = s.metres * std::sin(off) / e.semiMinorMetres;
    return u * u + v * v <= 1;
}

struct Trial {
    std::vector<GeoPosition> stations;
    GeoPosition tx;
    double sigma = 5;
    double wild = 0;
    double rho = 0;  // AR(1) correlation of neighbouring errors
    std::optional<double> sigmaGiven;
};

struct Outcome {
    int fixes = 0, refusals = 0, in50 = 0, in95 = 0;
    double sumE = 0, sumN = 0, sumSq = 0;
    std::string reasons;
};

Outcome monteCarlo(const Trial& t, int trials, std::uint64_t seed) {
    sim::Rng rng(seed);
    std::vector<double> truth;
    for (const GeoPosition& s : t.stations) {
        truth.push_back(Look(s, t.tx).azimuth);
    }
    Outcome o;
    FixOptions options;
    options.sigmaDegrees = t.sigmaGiven;
    std::vector<Observation> obs(t.stations.size());
    for (int k = 0; k < trials; ++k) {
        double e = rng.normal();
        for (std::size_t i = 0; i < obs.size(); ++i) {
            e = i == 0 ? e : t.rho * e + std::sqrt(1 - t.rho * t.rho) * rng.normal();
            const double b = rng.uniform() < t.wild ? rng.uniform(0, 360) : truth[i] + t.sigma * e;
            obs[i] = {t.stations[i], b, false};
        }
        const FixResult f = EstimateFix(obs, options);
        if (!f.ok()) {
            ++o.refusals;
            if (o.reasons.find(RefusalText(f.refusal)) == std::string::npos) {
                o.reasons += (o.reasons.empty() ? "" : "; ") + std::string(RefusalText(f.refusal));
            }
            continue;
        }
        const Sight s = Look(t.tx, f.position);
        const double east = s.metres * std::sin(s.azimuth * kRad);
        const double north = s.metres * std::cos(s.azimuth * kRad);
        ++o.fixes;
        o.sumE += east;
        o.sumN += north;
        o.sumSq += s.metres * s.metres;
        o.in50 += inside(f, f.ellipse50, t.tx);
        o.in95 += inside(f, f.ellipse95, t.tx);
    }
    return o;
}

void row(const char* name, const Trial& t, int trials, std::uint64_t seed) {
    const Outcome o = monteCarlo(t, trials, seed);
    const Sym2 crlb = information(t.stations, t.tx, t.sigma, t.rho).inverse();
    const double bound = std::sqrt(crlb.xx + crlb.yy);
    const std::string refused =
        std::to_string(o.refusals) + (o.refusals ? " (" + o.reasons + ")" : std::string());
    if (o.fixes == 0 || !std::isfinite(bound)) {
        std::printf("| %s | none | %d fixes | | | | %s |\n", name, o.fixes, refused.c_str());
        return;
    }
    const double n = o.fixes;
    std::printf("| %s | %.0f m | %.3f | %.3f | %.1f %% | %.1f %% | %s |\n", name, bound,
                std::sqrt(o.sumSq / n) / bound, std::hypot(o.sumE / n, o.sumN / n) / bound,
                100.0 * o.in50 / n, 100.0 * o.in95 / n, refused.c_str());
}

// Noise-free bearings over latitudes 0 to 70, on both sides of the antimeridian too, ranges
// 1 to 50 km: a 4 km drive with the transmitter abeam or ahead at 45 degrees, and two
// stations 40 km apart.
void sweep() {
    double worst = 0;
    int cases = 0, refusals = 0;
    for (int lat = 0; lat <= 70; lat += 10) {
        for (const double lon : {5.0, 179.98}) {
            const GeoPosition start{static_cast<double>(lat), lon};
            const auto road = drive(start, 90, 4000, 101);
            for (const double range : {1e3, 2e3, 5e3, 1e4, 2e4, 5e4}) {
                const GeoPosition abeam = Move(road[50], 0, range);
                const GeoPosition ahead = Move(start, 45, range);
                const std::vector<GeoPosition> pair = {start, Move(start, 90, 40000)};
                const std::pair<const std::vector<GeoPosition>*, GeoPosition> geometries[] = {
                    {&road, abeam}, {&road, ahead}, {&pair, Move(start, 0, range)}};
                for (const auto& [stations, tx] : geometries) {
                    std::vector<Observation> obs;
                    for (const GeoPosition& s : *stations) {
                        obs.push_back({s, Look(s, tx).azimuth, false});
                    }
                    const FixResult f = EstimateFix(obs, {});
                    ++cases;
                    refusals += !f.ok();
                    worst = f.ok() ? std::max(worst, Metres(f.position, tx)) : worst;
                }
            }
        }
    }
    std::printf(
        "| noise-free: latitudes 0-70, ranges 1-50 km, 4 km drive (abeam, ahead at 45 deg) "
        "or stations 40 km apart | | largest error %.2g m over %d geometries, %d "
        "refused | | | | |\n",
        worst, cases, refusals);
}

// This thread's processor time in milliseconds: what other programs on the machine take
// does not count.
double cpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Milliseconds of processor time for a fix from 300 bearings, against 300 geodesic inverse
// problems measured in the same rounds: median and range over the rounds.
void timing() {
    const GeoPosition start{52.3, 5.1};
    const auto road = drive(start, 90, 4000, 300);
    const GeoPosition tx = Move(road[150], 0, 6000);
    sim::Rng rng(99);
    std::vector<std::vector<Observation>> sets(20);
    for (auto& set : sets) {
        for (const GeoPosition& s : road) {
            set.push_back({s, Look(s, tx).azimuth + 5 * rng.normal(), false});
        }
    }
    std::vector<double> fix, ratio;
    double sink = 0;
    for (int round = 0; round < 9; ++round) {
        const double t0 = cpuMs();
        for (const auto& set : sets) {
            sink += EstimateFix(set, {}).position.latitude;
        }
        const double t1 = cpuMs();
        for (std::size_t k = 0; k < sets.size(); ++k) {
            for (const GeoPosition& s : road) {
                sink += Look(s, tx).azimuth;
            }
        }
        const double f = (t1 - t0) / 20;
        const double r = (cpuMs() - t1) / 20;
        fix.push_back(f);
        ratio.push_back(f / r);
    }
    std::sort(fix.begin(), fix.end());
    std::sort(ratio.begin(), ratio.end());
    std::printf(
        "\nA fix from 300 bearings: %.2f ms of processor time (%.2f to %.2f over 9 rounds), %.1f "
        "times (%.1f to %.1f) 300 geodesic inverse problems.%s\n",
        fix[4], fix.front(), fix.back(), ratio[4], ratio.front(), ratio.back(),
        sink == 0 ? " " : "");
}

}  // namespace

int main(int argc, char** argv) {
    int trials = 4000;
    if (argc == 3 && std::strcmp(argv[1], "--trials") == 0) {
        trials = std::max(10, std::atoi(argv[2]));
    } else if (argc != 1) {
        std::fprintf(stderr, "usage: kestrova_fix_accuracy [--trials N]\n");
        return 2;
    }
    const GeoPosition start{52.3, 5.1};
    const auto road = drive(start, 90, 4000, 101);
    const GeoPosition abeam = Move(road[50], 0, 6000);
    Trial t{road, abeam, 5, 0, 0, std::nullopt};
    std::printf("%d trials a row; the bound is the Cramér-Rao bound on the RMS error.\n\n", trials);
    std::printf(
        "| Scenario | Bound | RMS / bound | Bias / bound | In 50 %% ellipse | In 95 %% "
        "ellipse | Refused |\n|---|---|---|---|---|---|---|\n");
    row("4 km drive, 101 bearings, sigma 5 deg, 6 km off the road", t, trials, 1);
    t.sigmaGiven = 5;
    row("the same, sigma given", t, trials, 1);
    t.sigmaGiven.reset();
    t.wild = 0.1;
    row("the same, one bearing in ten random", t, trials, 2);
    t.wild = 0;
    t.stations = drive(start, 90, 4000, 300);
    t.rho = std::exp(-4000.0 / 299 / 100);
    row("300 bearings, errors correlated over 100 m of road", t, trials, 3);
    t = Trial{road, Move(start, 90, 10000), 5, 0, 0, std::nullopt};
    row("4 km drive straight at the transmitter, 6 km beyond", t, trials, 4);
    sweep();
    timing();
    return 0;
}
