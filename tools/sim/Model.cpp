#include "tools/sim/Model.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrova::sim {

namespace {

std::uint64_t splitmix(std::uint64_t& x) {
    std::uint64_t z = (x += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

std::uint64_t rotl(std::uint64_t x, int k) {
    return (x << k) | (x >> (64 - k));
}

double wrap360(double deg) {
    deg = std::fmod(deg, 360.0);
    return deg < 0 ? deg + 360.0 : deg;
}

constexpr double kRad = std::numbers::pi / 180.0;

// Ornstein-Uhlenbeck step: relaxes towards 0 with time constant tau, driven by noise so that
// the steady spread is `spread`.
double wander(Rng& rng, double value, double seconds, double tau, double spread) {
    const double keep = std::exp(-seconds / tau);
    return value * keep + spread * std::sqrt(1 - keep * keep) * rng.normal();
}

}  // namespace

Rng::Rng(std::uint64_t seed) {
    for (auto& s : s_) {
        s = splitmix(seed);
    }
}

std::uint64_t Rng::next() {
    const std::uint64_t result = rotl(s_[1] * 5, 7) * 9;
    const std::uint64_t t = s_[1] << 17;
    s_[2] ^= s_[0];
    s_[3] ^= s_[1];
    s_[1] ^= s_[2];
    s_[0] ^= s_[3];
    s_[2] ^= t;
    s_[3] = rotl(s_[3], 45);
    return result;
}

double Rng::uniform() {
    return static_cast<double>(next() >> 11) * 0x1.0p-53;
}

double Rng::normal() {
    if (hasSpare_) {
        hasSpare_ = false;
        return spare_;
    }
    const double u = 1.0 - uniform();  // (0, 1]: the logarithm stays finite
    const double v = uniform();
    const double r = std::sqrt(-2.0 * std::log(u));
    spare_ = r * std::sin(2 * std::numbers::pi * v);
    hasSpare_ = true;
    return r * std::cos(2 * std::numbers::pi * v);
}

double Rng::exponential(double mean) {
    return -mean * std::log(1.0 - uniform());
}

int Rng::below(int n) {
    return n <= 1 ? 0 : static_cast<int>(next() % static_cast<unsigned>(n));
}

BearingModel::BearingModel(Rng& rng)
    : rng_(rng),
      bearing_(rng.uniform(0, 360)),
      strength_(rng.uniform(40, 90)),
      target_(strength_),
      nextFade_(rng.exponential(5)) {}

void BearingModel::advance(double seconds) {
    if (seconds <= 0) {
        return;
    }
    rate_ = wander(rng_, rate_, seconds, 6.0, 2.5);
    bearing_ = wrap360(bearing_ + rate_ * seconds);

    nextFade_ -= seconds;
    if (nextFade_ <= 0) {
        // Mostly a usable signal, sometimes a deep fade or the emitter going quiet.
        const double pick = rng_.uniform();
        target_ = pick < 0.15   ? rng_.uniform(0, 8)
                  : pick < 0.35 ? rng_.uniform(10, 35)
                                : rng_.uniform(40, 100);
        nextFade_ = rng_.exponential(5) + 1;
    }
    const double keep = std::exp(-seconds / 1.2);
    strength_ = target_ + (strength_ - target_) * keep;
    strength_ = std::clamp(strength_ + 1.5 * std::sqrt(seconds) * rng_.normal(), 0.0, 100.0);
}

double BearingModel::scatterDegrees(double strength) {
    const double weak = 1.0 - std::clamp(strength, 0.0, 100.0) / 100.0;
    return 1.5 + 45.0 * weak * weak;
}

Vector BearingModel::measure() {
    const double angle = (bearing_ + scatterDegrees(strength_) * rng_.normal()) * kRad;
    const double length = std::clamp(strength_ * (1 + 0.04 * rng_.normal()), 0.0, 100.0);
    return Vector{length * std::sin(angle), length * std::cos(angle)};
}

Vehicle::Vehicle(Rng& rng, double latitude, double longitude)
    : rng_(rng), heading_(rng.uniform(0, 360)), latitude_(latitude), longitude_(longitude) {}

void Vehicle::advance(double seconds) {
    if (seconds <= 0) {
        return;
    }
    turn_ = wander(rng_, turn_, seconds, 8.0, 4.0);
    heading_ = wrap360(heading_ + turn_ * seconds);
    speed_ = std::clamp(speed_ + 0.5 * std::sqrt(seconds) * rng_.normal(), 0.0, 30.0);
    const double metres = speed_ * seconds;
    constexpr double kMetresPerDegree = 111320.0;
    latitude_ += metres * std::cos(heading_ * kRad) / kMetresPerDegree;
    latitude_ = std::clamp(latitude_, -89.9, 89.9);
    longitude_ +=
        metres * std::sin(heading_ * kRad) / (kMetresPerDegree * std::cos(latitude_ * kRad));
    longitude_ = std::remainder(longitude_, 360.0);
}

void TuneModel::advance(double seconds) {
    if (seconds <= 0) {
        return;
    }
    value_ = std::clamp(50 + wander(rng_, value_ - 50, seconds, 4.0, 18.0), 0.0, 99.0);
}

int TuneModel::reading() const {
    return static_cast<int>(std::lround(value_));
}

}  // namespace kestrova::sim
