#include "map/Scales.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace kestrova::map {

namespace {

constexpr std::array<double, 3> kSteps{1, 2, 5};
constexpr double kSlack = 1e-12;

// Hue 0..360, value 0..1, full saturation.
Rgb fromHue(double hue, double value) {
    const double sector = hue / 60;
    const double rising = value * (sector - std::floor(sector));
    const double falling = value - rising;
    const auto byte = [](double v) { return static_cast<std::uint8_t>(std::lround(v * 255)); };
    const std::uint8_t v = byte(value), up = byte(rising), down = byte(falling);
    switch (static_cast<int>(sector) % 6) {
        case 0:
            return {v, up, 0};
        case 1:
            return {down, v, 0};
        case 2:
            return {0, v, up};
        case 3:
            return {0, down, v};
        case 4:
            return {up, 0, v};
        default:
            return {v, 0, down};
    }
}

}  // namespace

double RoundDown125(double x) {
    if (!(x > 0) || !std::isfinite(x)) {
        return 0;
    }
    const double decade = std::pow(10.0, std::floor(std::log10(x)));
    double best = decade;
    for (const double step : kSteps) {
        // A little slack: log10 may put 5 x 10^n a hair below its own decade's step.
        if (step * decade <= x * (1 + kSlack)) {
            best = step * decade;
        }
    }
    return best;
}

double RoundUp125(double x) {
    const double down = RoundDown125(x);
    if (down == 0 || down >= x * (1 - kSlack)) {
        return down;
    }
    const double mantissa = down / std::pow(10.0, std::floor(std::log10(down) + kSlack));
    return down * (std::lround(mantissa) == 2 ? 2.5 : 2);  // 1 -> 2 -> 5 -> 10
}

std::string DistanceText(double metres) {
    char text[32];
    if (metres < 1000) {
        std::snprintf(text, sizeof text, "%.0f m", metres);
    } else {
        std::snprintf(text, sizeof text, "%g km", metres / 1000);
    }
    return text;
}

ScaleBar ScaleBarFor(double metresPerPixel, double maxPixels) {
    const double metres = RoundDown125(metresPerPixel * maxPixels);
    return {metres, metres / metresPerPixel, DistanceText(metres)};
}

double GridSpacing(double metresPerPixel, double minPixels) {
    return RoundUp125(metresPerPixel * minPixels);
}

Rings RingsFor(double metresPerPixel, double minPixels, double reachPixels) {
    const double spacing = RoundUp125(metresPerPixel * minPixels);
    const double reach = metresPerPixel * reachPixels;
    return {spacing, std::max(1, static_cast<int>(std::floor(reach / spacing)))};
}

Rgb SignalColour(int signal) {
    constexpr double kWeak = 25, kStrong = 99;
    const double t = std::clamp((signal - kWeak) / (kStrong - kWeak), 0.0, 1.0);
    return fromHue(230 * (1 - t), 0.7 + 0.3 * t);
}

double Fade(double ageSeconds, double maxAgeSeconds) {
    if (!(maxAgeSeconds > 0)) {
        return 1;
    }
    return 1 - (1 - kOldest) * std::clamp(ageSeconds / maxAgeSeconds, 0.0, 1.0);
}

}  // namespace kestrova::map
