#pragma once
// The few geodesic questions the fix asks of GeographicLib, on WGS-84, in degrees and metres.

#include "core/Readings.h"

namespace kestrova::fix {

// Finite, latitude within +-90 and longitude within +-180.
bool OnGlobe(const GeoPosition& p);
// What a GPS without a fix reports, and no vehicle stands on.
bool IsNullIsland(const GeoPosition& p);

double Wrap360(double degrees);  // 0 <= a < 360
double Wrap180(double degrees);  // -180 <= a < 180

// The geodesic from `from` to `to`.
struct Sight {
    double metres = 0;
    double azimuth = 0;        // at `from`, degrees
    double azimuthAtFar = 0;   // at `to`, degrees, forward along the geodesic
    double reducedLength = 0;  // metres moved sideways at `to` per radian turned at `from`
};
Sight Look(const GeoPosition& from, const GeoPosition& to);

// How the azimuth of a sight turns as its far end moves east and north, radians per metre:
// sideways at the far end, it turns by the distance over the reduced length.
struct Gradient {
    double east = 0;
    double north = 0;
};
Gradient AzimuthGradient(const Sight& s);
double Metres(const GeoPosition& from, const GeoPosition& to);
GeoPosition Move(const GeoPosition& from, double azimuth, double metres);

}  // namespace kestrova::fix
