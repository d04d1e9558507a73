#include "map/WebMercator.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kestrova::map {

namespace {
constexpr double kPi = std::numbers::pi;
constexpr int kMaxCopies = 8;  // a view never spans more worlds than this at the least zoom

double wrapUnit(double x) {
    return x - std::floor(x);
}
}  // namespace

bool OnMap(const GeoPosition& p) {
    return std::isfinite(p.latitude) && std::isfinite(p.longitude) &&
           std::abs(p.latitude) <= kMaxLatitude;
}

WorldPoint ToWorld(const GeoPosition& p) {
    const double phi = p.latitude * kPi / 180;
    return {(p.longitude + 180) / 360, 0.5 - std::asinh(std::tan(phi)) / (2 * kPi)};
}

GeoPosition ToGeo(const WorldPoint& w) {
    const double lat = std::atan(std::sinh(kPi * (1 - 2 * w.y))) * 180 / kPi;
    return {lat, wrapUnit(w.x) * 360 - 180};
}

int TmsRow(const TileKey& key) {
    return (1 << key.z) - 1 - key.y;
}

void View::resize(double width, double height) {
    width_ = width;
    height_ = height;
}

void View::centreOn(const WorldPoint& w) {
    if (std::isfinite(w.x) && std::isfinite(w.y)) {
        centre_ = {wrapUnit(w.x), std::clamp(w.y, 0.0, 1.0)};
    }
}

void View::setZoom(double zoom) {
    if (std::isfinite(zoom)) {
        zoom_ = std::clamp(zoom, double{kMinZoom}, double{kMaxZoom});
    }
}

void View::zoomAbout(const ScreenPoint& at, double levels) {
    const WorldPoint under = toWorld(at);
    setZoom(zoom_ + levels);
    const double p = worldPixels();
    centreOn(WorldPoint{under.x - (at.x - width_ / 2) / p, under.y - (at.y - height_ / 2) / p});
}

void View::panBy(double dx, double dy) {
    const double p = worldPixels();
    centreOn(WorldPoint{centre_.x - dx / p, centre_.y - dy / p});
}

double View::worldPixels() const {
    return kTilePixels * std::exp2(zoom_);
}

double View::metresPerPixel() const {
    const double lat = ToGeo(centre_).latitude * kPi / 180;
    return 2 * kPi * kSphereRadius * std::cos(lat) / worldPixels();
}

ScreenPoint View::toScreen(const WorldPoint& w) const {
    const double p = worldPixels();
    return {(w.x - centre_.x) * p + width_ / 2, (w.y - centre_.y) * p + height_ / 2};
}

WorldPoint View::toWorld(const ScreenPoint& s) const {
    const double p = worldPixels();
    return {centre_.x + (s.x - width_ / 2) / p, centre_.y + (s.y - height_ / 2) / p};
}

std::vector<int> View::copies(double minX, double maxX) const {
    const double halfWidth = width_ / 2 / worldPixels();
    const double first = std::ceil(centre_.x - halfWidth - maxX);
    const double last = std::floor(centre_.x + halfWidth - minX);
    std::vector<int> out;
    for (double k = first; k <= last && out.size() < kMaxCopies; ++k) {
        out.push_back(static_cast<int>(k));
    }
    return out;
}

double View::nearest(double x) const {
    return x - std::round(x - centre_.x);
}

std::vector<PlacedTile> View::tiles(int z) const {
    const int n = 1 << z;
    const double side = worldPixels() / n;
    if (side < kTilePixels / 16) {
        return {};  // far too many tiles for the view; not a zoom anyone draws
    }
    const WorldPoint topLeft = toWorld({0, 0});
    const WorldPoint bottomRight = toWorld({width_, height_});
    const int firstRow = std::max(0, static_cast<int>(std::floor(topLeft.y * n)));
    const int lastRow = std::min(n - 1, static_cast<int>(std::ceil(bottomRight.y * n)) - 1);
    const int firstColumn = static_cast<int>(std::floor(topLeft.x * n));
    const int lastColumn = static_cast<int>(std::ceil(bottomRight.x * n)) - 1;
    std::vector<PlacedTile> out;
    for (int row = firstRow; row <= lastRow; ++row) {
        for (int column = firstColumn; column <= lastColumn; ++column) {
            const TileKey key{z, ((column % n) + n) % n, row};
            out.push_back(
                {key, toScreen({static_cast<double>(column) / n, static_cast<double>(row) / n}),
                 side});
        }
    }
    return out;
}

}  // namespace kestrova::map
