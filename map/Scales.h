#pragma once
// Round distances for the map's scale bar, grid and range rings, and what a line of bearing
// looks like for its signal and age.

#include <string>

#include "core/Display.h"

namespace kestrova::map {

// The largest of 1, 2, 5 x 10^n not above `x`; the smallest not below it.
double RoundDown125(double x);
double RoundUp125(double x);

// "50 m", "500 m", "1 km", "2.5 km", "1200 km": whole metres below a kilometre.
std::string DistanceText(double metres);

// The scale bar: the longest round distance that fits in `maxPixels` at `metresPerPixel`.
struct ScaleBar {
    double metres = 0;
    double pixels = 0;
    std::string text;
};
ScaleBar ScaleBarFor(double metresPerPixel, double maxPixels);

// The grid's spacing: the smallest round distance at least `minPixels` apart.
double GridSpacing(double metresPerPixel, double minPixels);

// Range rings about the vehicle: the spacing, at least `minPixels` apart, and how many fit
// within `reachPixels` of it (at least one).
struct Rings {
    double spacingMetres = 0;
    int count = 0;
};
Rings RingsFor(double metresPerPixel, double minPixels, double reachPixels);

// A line's colour for the signal it was taken with (25 weak to 99 strong): from a cool blue
// through yellow to red, each brighter than the weaker, so that the night palette keeps the
// order in brightness. A line typed in by hand (signal 0) has a colour of its own.
Rgb SignalColour(int signal);
inline constexpr Rgb kManualLineColour{140, 40, 230};

// How opaque a line of `ageSeconds` is when lines go at `maxAgeSeconds`: 1 when new, falling
// evenly to kOldest at the limit.
inline constexpr double kOldest = 0.2;
double Fade(double ageSeconds, double maxAgeSeconds);

}  // namespace kestrova::map
