#include "tools/sim/Packets.h"

#include <algorithm>
#include <cmath>

#include "core/Numbers.h"

namespace kestrova::sim {

int rawComponent(double value) {
    const long raw = 2048 + std::lround(value * 20.4);
    return static_cast<int>(std::clamp(raw, 0L, 4095L));
}

std::string formatBearing(const BearingFields& f) {
    BearingPacket b;
    b.framed = true;
    b.rawX = rawComponent(f.x);
    b.rawY = rawComponent(f.y);
    b.signalMeter = f.signal;
    b.meterValue = std::clamp(f.meter, 0, 99);
    b.heading = static_cast<std::int16_t>(f.heading < 0 ? kNoCompass : f.heading % 360);
    b.flag = f.flag;
    return FormatBearingPacket(b);
}

StatusLine defaultStatus() {
    StatusLine s;
    s.opMode = "FM/S";
    s.ifBw = "IF 25";
    s.mount = "AIR";
    s.localRemote = "LCL";
    s.videoGain = "HIGH";
    s.band = "01";
    s.mode = "HNT";
    s.power = "BRT";
    s.rest = ",REL";
    return s;
}

namespace {

// Degrees, whole minutes and ten-thousandths of a minute; rounding may carry into the
// minutes and degrees, which is why it works on one integer.
GpsCoordinate coordinate(double degrees, char hemisphere, std::size_t degreeDigits) {
    const long long total = std::llround(std::fabs(degrees) * 600000.0);
    GpsCoordinate c;
    c.hemisphere = hemisphere;
    c.degrees = ZeroPadded(static_cast<int>(total / 600000), degreeDigits);
    c.minutes = ZeroPadded(static_cast<int>(total % 600000 / 10000), 2);
    c.fraction = ZeroPadded(static_cast<int>(total % 10000), 4);
    return c;
}

}  // namespace

std::string formatGps(double latitude, double longitude) {
    latitude = std::clamp(latitude, -89.99999, 89.99999);
    longitude = std::remainder(longitude, 360.0);  // -180..180
    longitude = std::clamp(longitude, -179.99999, 179.99999);
    return FormatGpsPacket({coordinate(latitude, latitude < 0 ? 'S' : 'N', 2),
                            coordinate(longitude, longitude < 0 ? 'W' : 'E', 3)});
}

const std::vector<CycleStep>& StatusCycle() {
    using F = StatusLine;
    static const std::vector<CycleStep> steps = {
        {{}, false},                 // steady
        {{{&F::band, "+"}}, false},  // band change
        {{}, false},
        {{{&F::power, "BAT"}}, false},  // low battery
        {{{&F::power, "DIM"}}, false},
        {{{&F::power, "BRT"}}, false},  // battery fine again
        {{{&F::mode, "RCV"}}, false},   // direction finding off
        {{}, false},
        {{{&F::mode, "HNT"}}, false},   // and on again
        {{{&F::mount, "GND"}}, false},  // ground mount
        {{{&F::opMode, "AM"}, {&F::ifBw, "IF 6"}}, false},
        {{{&F::mode, "SCN"}}, true},  // unknown mode: rejected
        {{{&F::mount, "AIR"}, {&F::opMode, "FM/S"}, {&F::ifBw, "IF 25"}}, false},
        {{{&F::power, "LOW"}}, true},  // unknown power: rejected
        {{{&F::power, "CLS"}}, false},
        {{{&F::mount, "GRND"}}, true},  // 4-letter mount: no answer
        {{{&F::localRemote, "RMT"}, {&F::videoGain, "LOW"}, {&F::band, "+"}}, false},
        {{{&F::localRemote, "LCL"}, {&F::videoGain, "HIGH"}, {&F::power, "BRT"}}, false},
    };
    return steps;
}

std::vector<std::string> BuiltInAntennas() {
    AntennaLine unknown;
    unknown.unknown = true;
    return {
        FormatAntennaLine(
            {false, true, "KVA-210", {{"118-137", 0}, {"138-174", -450}, {"225-400", 900}}}),
        FormatAntennaLine({false,
                           true,
                           "KVA-430",
                           {{"20-80", 0},
                            {"80-200", 150},
                            {"200-500", -300},
                            {"500-1000", 0},
                            {"1000-2000", 450}}}),
        FormatAntennaLine(unknown),
    };
}

int BandsOf(const std::string& line) {
    if (line.find("ANT UNKNOWN") != std::string::npos) {
        return 15;
    }
    const auto commas = std::count(line.begin(), line.end(), ',');
    return static_cast<int>(std::clamp<long>(commas, 1, 15));
}

void ApplyStep(const CycleStep& s, StatusLine& f, int bands) {
    for (const auto& c : s.changes) {
        if (std::string(c.value) == "+") {
            const int band = std::atoi(f.band.c_str());
            f.*c.field = ZeroPadded(band % bands + 1, 2);
        } else {
            f.*c.field = c.value;
        }
    }
}

}  // namespace kestrova::sim
