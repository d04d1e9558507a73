#include <array>
#include <cmath>

#include "core/Numbers.h"
#include "fix/LineStore.h"

namespace kestrova::fix {

namespace {

struct Key {
    const char* name;
    const char* takes;
    double low, high;  // inclusive, except that `high` is left out when `openTop`
    bool openTop;
    bool whole;
    void (*store)(StoreSettings&, double);
};

constexpr std::array<Key, 6> kKeys{{
    {"Declination", "degrees from -180 to 180, east positive", -180, 180, false, false,
     [](StoreSettings& s, double v) { s.declinationDegrees = v; }},
    {"CourseMinSpeed", "km/h from 0 to 1000", 0, 1000, false, false,
     [](StoreSettings& s, double v) { s.courseMinSpeedKmh = v; }},
    {"FixedHeading", "degrees true from 0 to below 360, or nothing", 0, 360, true, false,
     [](StoreSettings& s, double v) { s.fixedHeadingDegrees = v; }},
    {"BearingSigma", "degrees from 0.1 to 90", 0.1, 90, false, false,
     [](StoreSettings& s, double v) { s.sigmaDegrees = v; }},
    {"LobMaxCount", "a whole number from 2 to 100000", 2, 100000, false, true,
     [](StoreSettings& s, double v) { s.maxCount = static_cast<std::size_t>(v); }},
    {"LobMaxAge", "seconds from 1 to 604800", 1, 604800, false, false,
     [](StoreSettings& s, double v) { s.maxAgeSeconds = v; }},
}};

bool fits(const Key& k, double v) {
    return v >= k.low && (k.openTop ? v < k.high : v <= k.high) && (!k.whole || v == std::floor(v));
}

}  // namespace

StoreSettings ReadStoreSettings(const std::function<std::string(const std::string&)>& readSetting,
                                const std::function<void(std::string_view)>& report) {
    StoreSettings s;
    for (const Key& k : kKeys) {
        const std::string raw = readSetting(k.name);
        const std::string_view text = Trimmed(raw, " \t\r");
        if (text.empty()) {
            continue;
        }
        const std::optional<double> v = FiniteNumber(text);
        if (v && fits(k, *v)) {
            k.store(s, *v);
        } else if (report) {
            report(std::string(k.name) + "=" + std::string(text) + " ignored (" + k.takes + ")");
        }
    }
    return s;
}

}  // namespace kestrova::fix
