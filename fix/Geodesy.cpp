#include "fix/Geodesy.h"

#include <GeographicLib/Geodesic.hpp>
#include <cmath>
#include <numbers>

namespace kestrova::fix {

namespace {

const GeographicLib::Geodesic& wgs84() {
    return GeographicLib::Geodesic::WGS84();
}

}  // namespace

bool OnGlobe(const GeoPosition& p) {
    return std::isfinite(p.latitude) && std::isfinite(p.longitude) &&
           std::fabs(p.latitude) <= 90.0 && std::fabs(p.longitude) <= 180.0;
}

bool IsNullIsland(const GeoPosition& p) {
    return p.latitude == 0.0 && p.longitude == 0.0;
}

double Wrap360(double degrees) {
    const double a = std::fmod(degrees, 360.0);
    const double w = a < 0 ? a + 360.0 : a;
    return w >= 360.0 ? 0.0 : w;  // a tiny negative rounds up to 360
}

double Wrap180(double degrees) {
    return Wrap360(degrees + 180.0) - 180.0;
}

Sight Look(const GeoPosition& from, const GeoPosition& to) {
    Sight s;
    wgs84().Inverse(from.latitude, from.longitude, to.latitude, to.longitude, s.metres, s.azimuth,
                    s.azimuthAtFar, s.reducedLength);
    return s;
}

Gradient AzimuthGradient(const Sight& s) {
    const double far = s.azimuthAtFar * std::numbers::pi / 180;
    return {std::cos(far) / s.reducedLength, -std::sin(far) / s.reducedLength};
}

double Metres(const GeoPosition& from, const GeoPosition& to) {
    double metres = 0;
    wgs84().Inverse(from.latitude, from.longitude, to.latitude, to.longitude, metres);
    return metres;
}

GeoPosition Move(const GeoPosition& from, double azimuth, double metres) {
    GeoPosition to;
    wgs84().Direct(from.latitude, from.longitude, azimuth, metres, to.latitude, to.longitude);
    return to;
}

}  // namespace kestrova::fix
