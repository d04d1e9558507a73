#pragma once
// What the displays showed, as numbers, for whoever keeps or works on them: the bearing log,
// the marks on the dial, the lines of bearing. Handed on when a display is drawn, so nobody
// has to read a label's text back.

#include <cstdint>
#include <optional>
#include <string>

#include "core/LocalTime.h"

namespace kestrova {

// Degrees on the WGS-84 ellipsoid, north and east positive.
struct GeoPosition {
    double latitude = 0;
    double longitude = 0;
    friend bool operator==(const GeoPosition&, const GeoPosition&) = default;
};

// When something was shown: on the clock that never goes back (for ages and speeds) and as
// the local date and time (for people and logs).
struct Stamp {
    std::int64_t steadyMs = 0;
    LocalTime local;
};

// A position the GPS labels showed.
struct PositionShown {
    Stamp time;
    GeoPosition position;
};

// A bearing the digital readout showed.
struct BearingShown {
    Stamp time;
    // As the readout shows it, 0..3599 tenths: band offset, compass heading (when absolute)
    // and the inverted mount's mirror applied.
    std::int16_t tenths = 0;
    bool absolute = false;  // the banner says "ABS": a compass heading was added
    // Relative to the antenna's reference direction, band offset applied, before the compass
    // heading and the mirror, 0..3599 tenths.
    std::int16_t relativeTenths = 0;
    std::int16_t compassHeading = 999;  // whole degrees, 999 for none
    bool airMount = false;              // the antenna is mounted upside down
    std::int16_t signal = 0;            // the magnitude the readout was drawn with, 25..99
    std::string band;                   // the band banner's text, Latin-1
    // The position on the GPS labels; none while they are blanked.
    std::optional<GeoPosition> position;
};

// Told, on the UI thread, as the displays change.
class ReadingListener {
  public:
    virtual ~ReadingListener() = default;
    virtual void bearingShown(const BearingShown&) {}
    virtual void positionShown(const PositionShown&) {}
    // The GPS labels went back to their placeholders (time-out).
    virtual void positionLost() {}
    // The bearings stopped: the link was lost or direction finding went off. A weak signal's
    // blank readout is no stop.
    virtual void bearingsStopped() {}
};

}  // namespace kestrova
