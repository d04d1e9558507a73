#include "core/Clock.h"

#include <chrono>
#include <ctime>

#include "core/Numbers.h"

namespace kestrova {

long long SteadyClock::nowMs() const {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

LocalTime SystemLocalClock::now() const {
    timespec ts{};
    ::clock_gettime(CLOCK_REALTIME, &ts);
    std::tm local{};
    if (::localtime_r(&ts.tv_sec, &local) == nullptr) {
        return {};
    }
    return {local.tm_year + 1900,
            local.tm_mon + 1,
            local.tm_mday,
            local.tm_hour,
            local.tm_min,
            local.tm_sec,
            static_cast<int>(ts.tv_nsec / 1000000)};
}

const Clocks& SystemClocks() {
    static const SteadyClock steady;
    static const SystemLocalClock local;
    static const Clocks clocks{steady, local};
    return clocks;
}

std::string FormatTimeOfDay(const LocalTime& t) {
    return ZeroPadded(t.hour, 2) + ":" + ZeroPadded(t.minute, 2) + ":" + ZeroPadded(t.second, 2);
}

std::string FormatLocalTime(const LocalTime& t) {
    return ZeroPadded(t.year, 4) + "-" + ZeroPadded(t.month, 2) + "-" + ZeroPadded(t.day, 2) + " " +
           FormatTimeOfDay(t) + "." + ZeroPadded(t.millisecond, 3);
}

}  // namespace kestrova
