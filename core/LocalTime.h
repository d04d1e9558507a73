#pragma once
// The local date and time to the millisecond, behind an interface so that log times can be
// pinned in tests.

#include <string>

namespace kestrova {

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

class SystemLocalClock : public LocalClock {
  public:
    LocalTime now() const override;
};

// "2024-05-01 14:03:07.123"
std::string FormatLocalTime(const LocalTime& t);

}  // namespace kestrova
