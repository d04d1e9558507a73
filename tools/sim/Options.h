// What a run does: command-line flags and the scenario file.
#pragma once

#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

#include "tools/sim/Drive.h"

namespace kestrova::sim {

enum class Fault { Garbage, LostLineEnd, CutBearing, LowerCase, StopResume };
inline constexpr std::size_t kFaultKinds = 5;
const char* faultName(Fault f);

struct Event {
    enum class Kind { Pause, GpsGap, CompassOff, Tune, Status, Antenna, Inject, Stop, NoiseStop };
    double at = 0;  // seconds of line time from the start
    Kind kind = Kind::Pause;
    double length = 0;  // Pause, GpsGap, CompassOff, Tune, Stop, NoiseStop
    std::string text;   // Status, Antenna: the line without its type letter and CR LF
    Fault fault = Fault::Garbage;
};

struct Options {
    double duration = 60;
    bool durationSet = false;
    std::uint64_t seed = 1;
    std::string link;
    std::string replay;
    std::string record;
    std::string scenario;
    bool verbose = false;
    bool help = false;

    double statusEvery = 1.0;
    double gpsEvery = 1.0;
    double antennaEvery = 40;  // 0: the antenna never changes
    // Automatic silences of the whole stream (link loss) and of the GPS packets (GPS loss).
    double pauseFirst = 20, pauseEvery = 45, pauseLength = 3.5;
    double gpsGapFirst = 32, gpsGapEvery = 60, gpsGapLength = 7;

    std::array<bool, kFaultKinds> faults{};
    double faultEvery = 5;  // mean seconds between faults of each enabled kind

    std::vector<std::string> cycle;     // status lines replacing the built-in cycle
    std::vector<std::string> antennas;  // antenna lines replacing the built-in rotation
    std::vector<Event> events;
    DriveOptions drive;

    bool anyFault() const;
};

// Reads scenario directives into `opt`; returns an error ("line N: ...") or "".
std::string parseScenario(std::istream& in, Options& opt);
// Reads the command line (and the scenario file it names, before the other flags, so that
// flags override it); returns an error or "".
std::string parseArgs(int argc, const char* const* argv, Options& opt);
const char* helpText();

}  // namespace kestrova::sim
