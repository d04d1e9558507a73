// A drive past a transmitter: the vehicle follows a route of geodesic legs, the GPS reports
// where it is, and every bearing packet holds the true bearing to the transmitter (with noise
// and now and then a wild one) as the display's chain will turn it back: the compass heading
// as sent, the mount's mirror and the band offset undone.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/sim/Model.h"
#include "tools/sim/Packets.h"

namespace kestrova::sim {

struct Place {
    double latitude = 0;
    double longitude = 0;
};

struct Waypoint {
    Place at;
    double wait = 0;  // seconds parked on arrival
};

struct DriveOptions {
    bool active = false;  // a drive directive was given
    std::optional<Place> transmitter;
    std::vector<Waypoint> route;
    double speedKmh = 60;
    double sigmaDegrees = 3;
    double wild = 0;  // share of bearings replaced by a random one
    bool compass = true;
    std::optional<double> parkedHeading;  // where the antenna faces when parked, degrees true
    double declination = 0;               // east positive: compass = true heading - this
    bool airMount = false;
    int bandOffset = 0;  // tenths of a degree, of the one band the antenna has
    int signal = 70;
};

// Takes one "drive-..." directive: its error, "" when taken, nothing for another key.
std::optional<std::string> applyDriveDirective(std::string_view key, std::string_view value,
                                               DriveOptions& drive);
// "" when the drive (if any) can be driven, else what it lacks.
std::string checkDrive(const DriveOptions& drive);
const char* driveHelpText();

class Drive {
  public:
    explicit Drive(DriveOptions options);
    void advance(double seconds) { time_ += seconds; }

    struct State {
        Place at;
        double heading = 0;  // degrees true
        bool parked = false;
    };
    State state() const;
    // The next bearing packet's fields.
    BearingFields bearing(Rng& rng) const;
    StatusLine status() const;
    AntennaLine antenna() const;
    // "transmitter: LAT LON", for the end of the run.
    std::string truth() const;

  private:
    struct Leg {
        Place from;
        double azimuth = 0;  // at the start
        double arrive = 0;   // at the end
        double metres = 0;
        double wait = 0;   // before setting off
        double start = 0;  // seconds from the start of the drive
    };
    State parkedAt(const Place& at, double arrivedHeading) const;

    DriveOptions o_;
    std::vector<Leg> legs_;
    double time_ = 0;
};

}  // namespace kestrova::sim
