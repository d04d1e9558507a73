#include "tools/sim/Drive.h"

#include <GeographicLib/Geodesic.hpp>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <numbers>

namespace kestrova::sim {

namespace {

const GeographicLib::Geodesic& wgs84() {
    return GeographicLib::Geodesic::WGS84();
}

double wrap360(double deg) {
    const double a = std::fmod(deg, 360.0);
    return a < 0 ? a + 360.0 : a;
}

// The blank-separated numbers of `text`; nothing when one is no number.
std::optional<std::vector<double>> numbers(std::string_view text) {
    std::vector<double> out;
    std::string s(text);
    const char* p = s.c_str();
    for (;;) {
        while (*p == ' ' || *p == '\t' || *p == '\r') {
            ++p;
        }
        if (*p == '\0') {
            return out;
        }
        char* end = nullptr;
        errno = 0;
        const double v = std::strtod(p, &end);
        if (end == p || errno != 0 || !std::isfinite(v)) {
            return std::nullopt;
        }
        out.push_back(v);
        p = end;
    }
}

Place moved(const Place& from, double azimuth, double metres) {
    Place to;
    wgs84().Direct(from.latitude, from.longitude, azimuth, metres, to.latitude, to.longitude);
    return to;
}

bool onGlobe(double lat, double lon) {
    return std::fabs(lat) <= 90 && std::fabs(lon) <= 180;
}

// A directive with `count` numbers (`optional` more allowed) within [low, high].
struct Numeric {
    const char* key;
    std::size_t count, optional;
    double low, high;
    void (*store)(DriveOptions&, const std::vector<double>&);
};

constexpr Numeric kNumeric[] = {
    {"drive-speed", 1, 0, 0.1, 2000, [](DriveOptions& d, auto& v) { d.speedKmh = v[0]; }},
    {"drive-sigma", 1, 0, 0, 90, [](DriveOptions& d, auto& v) { d.sigmaDegrees = v[0]; }},
    {"drive-wild", 1, 0, 0, 1, [](DriveOptions& d, auto& v) { d.wild = v[0]; }},
    {"drive-parked-heading", 1, 0, 0, 360,
     [](DriveOptions& d, auto& v) { d.parkedHeading = v[0]; }},
    {"drive-declination", 1, 0, -180, 180, [](DriveOptions& d, auto& v) { d.declination = v[0]; }},
    {"drive-offset", 1, 0, -1800, 1800,
     [](DriveOptions& d, auto& v) { d.bandOffset = static_cast<int>(std::lround(v[0])); }},
    {"drive-signal", 1, 0, 25, 99,
     [](DriveOptions& d, auto& v) { d.signal = static_cast<int>(std::lround(v[0])); }},
    {"drive-transmitter", 2, 0, -180, 180,
     [](DriveOptions& d, auto& v) {
         d.transmitter = Place{v[0], v[1]};
     }},
    {"drive-waypoint", 2, 1, -180, 100000,
     [](DriveOptions& d, auto& v) {
         d.route.push_back({{v[0], v[1]}, v.size() > 2 ? v[2] : 0.0});
     }},
    // From the last waypoint (or the first, for the transmitter): an azimuth and a distance.
    {"drive-leg", 2, 1, 0, 1e7,
     [](DriveOptions& d, auto& v) {
         d.route.push_back({moved(d.route.back().at, v[0], v[1]), v.size() > 2 ? v[2] : 0.0});
     }},
    {"drive-transmitter-at", 2, 0, 0, 1e7,
     [](DriveOptions& d, auto& v) { d.transmitter = moved(d.route.front().at, v[0], v[1]); }},
};

std::optional<std::string> applyWord(std::string_view key, std::string_view value,
                                     DriveOptions& d) {
    const std::string_view v = value.substr(0, value.find_last_not_of(" \t\r") + 1);
    const std::string_view word = v.substr(std::min(v.size(), v.find_first_not_of(" \t")));
    if (key == "drive-compass") {
        d.compass = word == "on";
        return word == "on" || word == "off" ? "" : "\"drive-compass\" takes on or off";
    }
    if (key == "drive-mount") {
        d.airMount = word == "AIR";
        return word == "AIR" || word == "GND" ? "" : "\"drive-mount\" takes AIR or GND";
    }
    return std::nullopt;
}

}  // namespace

std::optional<std::string> applyDriveDirective(std::string_view key, std::string_view value,
                                               DriveOptions& d) {
    if (!key.starts_with("drive-")) {
        return std::nullopt;
    }
    d.active = true;
    if (auto word = applyWord(key, value, d)) {
        return word;
    }
    for (const Numeric& n : kNumeric) {
        if (key != n.key) {
            continue;
        }
        const auto v = numbers(value);
        const bool relative = key == "drive-leg" || key == "drive-transmitter-at";
        if (!v || v->size() < n.count || v->size() > n.count + n.optional ||
            std::any_of(v->begin(), v->end(), [&](double x) { return x < n.low || x > n.high; }) ||
            (relative && d.route.empty()) ||
            (n.count == 2 && !relative && !onGlobe((*v)[0], (*v)[1]))) {
            return "\"" + std::string(key) + "\": see --help for what it takes" +
                   (relative && d.route.empty() ? " (after a drive-waypoint)" : "");
        }
        n.store(d, *v);
        return "";
    }
    return "unknown directive \"" + std::string(key) + "\"";
}

std::string checkDrive(const DriveOptions& d) {
    if (d.active && (!d.transmitter || d.route.empty())) {
        return "a drive needs a transmitter and at least one waypoint";
    }
    return "";
}

Drive::Drive(DriveOptions options) : o_(std::move(options)) {
    double start = 0;
    for (std::size_t i = 0; i + 1 < o_.route.size(); ++i) {
        const Place& a = o_.route[i].at;
        const Place& b = o_.route[i + 1].at;
        Leg l{a, 0, 0, 0, o_.route[i].wait, start};
        wgs84().Inverse(a.latitude, a.longitude, b.latitude, b.longitude, l.metres, l.azimuth,
                        l.arrive);
        start += l.wait + l.metres / (o_.speedKmh / 3.6);
        legs_.push_back(l);
    }
}

Drive::State Drive::parkedAt(const Place& at, double arrivedHeading) const {
    return {at, o_.parkedHeading.value_or(arrivedHeading), true};
}

Drive::State Drive::state() const {
    const double speed = o_.speedKmh / 3.6;
    for (std::size_t i = 0; i < legs_.size(); ++i) {
        const Leg& l = legs_[i];
        if (time_ < l.start + l.wait) {
            return parkedAt(l.from, wrap360(i > 0 ? legs_[i - 1].arrive : l.azimuth));
        }
        const double along = (time_ - l.start - l.wait) * speed;
        if (along < l.metres) {
            State s;
            wgs84().Direct(l.from.latitude, l.from.longitude, l.azimuth, along, s.at.latitude,
                           s.at.longitude, s.heading);
            s.heading = wrap360(s.heading);
            return s;
        }
    }
    return parkedAt(o_.route.back().at, legs_.empty() ? 0.0 : wrap360(legs_.back().arrive));
}

BearingFields Drive::bearing(Rng& rng) const {
    const State s = state();
    const Place& tx = *o_.transmitter;
    double truth = 0, atTransmitter = 0;
    wgs84().Inverse(s.at.latitude, s.at.longitude, tx.latitude, tx.longitude, truth, atTransmitter);
    double measured = truth + o_.sigmaDegrees * rng.normal();
    if (rng.uniform() < o_.wild) {
        measured = rng.uniform(0, 360);
    }
    BearingFields f;
    double reference = s.heading;
    f.heading = -1;
    f.flag = 'N';
    if (o_.compass) {
        // Whole degrees of magnetic heading: the bearing is made relative to what is sent.
        f.heading = static_cast<int>(std::lround(wrap360(s.heading - o_.declination))) % 360;
        f.flag = 'P';
        reference = f.heading + o_.declination;
    }
    const double relative = wrap360(measured - reference);
    // The display mirrors an upside-down antenna and adds the band offset: undone here.
    const double shown = o_.airMount ? wrap360(360 - relative) : relative;
    const double raw = (shown - o_.bandOffset / 10.0) * std::numbers::pi / 180;
    const double length = std::clamp(o_.signal + 3 * rng.normal(), 30.0, 99.0);
    f.x = length * std::sin(raw);
    f.y = length * std::cos(raw);
    f.signal = true;
    f.meter = static_cast<int>(std::lround(length));
    return f;
}

StatusLine Drive::status() const {
    StatusLine f = defaultStatus();
    f.mount = o_.airMount ? "AIR" : "GND";
    f.band = "01";
    return f;
}

AntennaLine Drive::antenna() const {
    return {false, true, "KVA-210", {{"138-174", static_cast<float>(o_.bandOffset)}}};
}

std::string Drive::truth() const {
    char buf[96];
    std::snprintf(buf, sizeof buf, "transmitter: %.6f %.6f", o_.transmitter->latitude,
                  o_.transmitter->longitude);
    return buf;
}

const char* driveHelpText() {
    return R"(
A drive past a transmitter (scenario directives; as flags, --drive-speed 80 and so on):
  drive-transmitter LAT LON        where the transmitter is, degrees (south, west negative)
  drive-transmitter-at AZ METRES   or: that far from the first waypoint at that azimuth
  drive-waypoint LAT LON [WAIT]    the next point of the route; WAIT seconds parked there
  drive-leg AZ METRES [WAIT]       the next point that far from the last at that azimuth
  drive-speed KMH                  speed between waypoints (default 60)
  drive-sigma DEG                  standard deviation of the bearings (default 3)
  drive-wild SHARE                 share of bearings replaced by random ones (default 0)
  drive-compass on|off             send the compass heading (default on)
  drive-declination DEG            east positive: the compass reads true less this
  drive-parked-heading DEG         where the antenna faces when parked (default: as it came)
  drive-mount GND|AIR              the antenna mount the status lines report (default GND)
  drive-offset TENTHS              the band offset of the antenna's one band (default 0)
  drive-signal N                   signal strength, 25 to 99 (default 70)
The status lines then report the mount and band 01 and the antenna line has that one band;
GPS lines follow the route, and the run ends with "transmitter: LAT LON" before the summary.
)";
}

}  // namespace kestrova::sim
