#pragma once
// The program's clocks, behind interfaces so that tests pin them: milliseconds on a clock that
// never goes back (ticks, ages, recordings), and the local date and time (for people: the
// status line's stamp, the bearing log).

#include <string>

namespace kestrova {

class MonotonicClock {
  public:
    virtual ~MonotonicClock() = default;
    virtual long long nowMs() const = 0;
};

struct LocalTime {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;   // 0 to 23
    int minute = 0;
    int second = 0;
    int millisecond = 0;
};

class LocalClock {
  public:
    virtual ~LocalClock() = default;
    virtual LocalTime now() const = 0;
};

class SteadyClock : public MonotonicClock {
  public:
    long long nowMs() const override;
};

class SystemLocalClock : public LocalClock {
  public:
    LocalTime now() const override;
};

// Both, for whoever stamps what it shows.
struct Clocks {
    const MonotonicClock& steady;
    const LocalClock& local;
};
// The system's own.
const Clocks& SystemClocks();

// "2024-05-01 14:03:07.123"
std::string FormatLocalTime(const LocalTime& t);
// "14:03:07"
std::string FormatTimeOfDay(const LocalTime& t);

}  // namespace kestrova
