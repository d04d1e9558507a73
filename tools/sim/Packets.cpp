#include "tools/sim/Packets.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace kestrova::sim {

int rawComponent(double value) {
    const long raw = 2048 + std::lround(value * 20.4);
    return static_cast<int>(std::clamp(raw, 0L, 4095L));
}

std::string formatBearing(const BearingFields& f) {
    const int meter = std::clamp(f.meter, 0, 99);
    const int heading = f.heading < 0 ? 999 : f.heading % 360;
    char buf[32];
    std::snprintf(buf, sizeof buf, "B%04d%04d%c%02d%03d%c\r\n", rawComponent(f.x),
                  rawComponent(f.y), f.selector, meter, heading, f.flag);
    return buf;
}

std::string formatStatus(const StatusFields& f) {
    std::string s = "A" + f.opMode + "," + f.ifBandwidth + "," + f.mount + "," + f.localRemote +
                    "," + f.videoGain + "," + f.band + "," + f.dfMode + "," + f.power;
    if (!f.rest.empty()) {
        s += ',';
        s += f.rest;
    }
    return s + kLineEnd;
}

std::string formatAntenna(const Antenna& a) {
    std::string s = "C" + a.model;
    for (const auto& b : a.bands) {
        s += ',';
        s += b.text;
        if (b.offset) {
            s += '/';
            s += std::to_string(*b.offset);
        }
    }
    return s + kLineEnd;
}

namespace {

// Sign, degrees, whole minutes and ten-thousandths of a minute; rounding may carry into the
// minutes and degrees, which is why it works on one integer.
std::string coordinate(double degrees, bool negative, int degreeDigits) {
    const long long total = std::llround(std::fabs(degrees) * 600000.0);
    const long long deg = total / 600000;
    const long long minutes = (total % 600000) / 10000;
    const long long fraction = total % 10000;
    char buf[32];
    std::snprintf(buf, sizeof buf, "%c%0*lld%02lld%04lld", negative ? '-' : '+', degreeDigits, deg,
                  minutes, fraction);
    return buf;
}

}  // namespace

std::string formatGps(double latitude, double longitude) {
    latitude = std::clamp(latitude, -89.99999, 89.99999);
    longitude = std::remainder(longitude, 360.0);  // -180..180
    longitude = std::clamp(longitude, -179.99999, 179.99999);
    return "D" + coordinate(latitude, latitude < 0, 2) + coordinate(longitude, longitude < 0, 3) +
           kLineEnd;
}

}  // namespace kestrova::sim
