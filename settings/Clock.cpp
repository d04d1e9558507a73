#include "settings/Clock.h"

#include <ctime>

namespace kestrova {

TimeOfDay SystemClock::timeOfDay() const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_r(&now, &local) == nullptr) {
        return {};
    }
    return {local.tm_hour, local.tm_min, local.tm_sec};
}

}  // namespace kestrova
