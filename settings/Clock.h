#pragma once
// The local time of day, behind an interface so that time stamps can be pinned in tests.

namespace kestrova {

struct TimeOfDay {
    int hour = 0;  // 0 to 23
    int minute = 0;
    int second = 0;
};

class Clock {
  public:
    virtual ~Clock() = default;
    virtual TimeOfDay timeOfDay() const = 0;
};

class SystemClock : public Clock {
  public:
    TimeOfDay timeOfDay() const override;
};

}  // namespace kestrova
