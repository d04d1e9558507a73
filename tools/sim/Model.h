// The moving parts behind the stream: a seeded random source, the wandering bearing with its
// fading signal, and the vehicle that carries compass and GPS.
#pragma once

#include <cstdint>

namespace kestrova::sim {

// xoshiro256** seeded through splitmix64: the same seed gives the same stream on every
// platform, which std::*_distribution does not promise.
class Rng {
  public:
    explicit Rng(std::uint64_t seed);
    std::uint64_t next();
    double uniform();  // [0, 1)
    double uniform(double lo, double hi) { return lo + (hi - lo) * uniform(); }
    double normal();  // mean 0, standard deviation 1
    double exponential(double mean);
    int below(int n);  // 0 .. n-1

  private:
    std::uint64_t s_[4];
    bool hasSpare_ = false;
    double spare_ = 0;
};

struct Vector {
    double x = 0;
    double y = 0;
};

// The emitter's true bearing drifts with a turn rate that itself wanders; the signal fades
// towards a level that changes every few seconds. Measurements scatter more as it weakens.
class BearingModel {
  public:
    explicit BearingModel(Rng& rng);
    void advance(double seconds);
    // One measurement: the bearing vector, length = signal strength (0..100), clockwise from +y.
    Vector measure();

    double bearing() const { return bearing_; }    // degrees, 0..360
    double strength() const { return strength_; }  // 0..100
    // One standard deviation of the bearing scatter, in degrees, at a signal strength.
    static double scatterDegrees(double strength);

  private:
    Rng& rng_;
    double bearing_;
    double rate_ = 0;  // degrees per second
    double strength_;
    double target_;
    double nextFade_;
};

// A vehicle driving about: its heading feeds the compass, its position the GPS.
class Vehicle {
  public:
    Vehicle(Rng& rng, double latitude, double longitude);
    void advance(double seconds);
    double heading() const { return heading_; }  // degrees, 0..360
    double latitude() const { return latitude_; }
    double longitude() const { return longitude_; }

  private:
    Rng& rng_;
    double heading_;
    double turn_ = 0;    // degrees per second
    double speed_ = 12;  // metres per second
    double latitude_;
    double longitude_;
};

// A slowly wandering value in 0..99, as the tune meter shows it.
class TuneModel {
  public:
    explicit TuneModel(Rng& rng) : rng_(rng) {}
    void advance(double seconds);
    int reading() const;

  private:
    Rng& rng_;
    double value_ = 50;
};

}  // namespace kestrova::sim
