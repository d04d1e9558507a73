#pragma once
// The map's projection, the one tile sets use: the sphere of WGS-84's equatorial radius cut
// at about 85 degrees into a square world. The world is a unit square here, x east from the
// antimeridian, y south from the northern edge; a tile of zoom z is a 2^-z part of it.

#include <cstdint>
#include <vector>

#include "core/Readings.h"

namespace kestrova::map {

inline constexpr double kTilePixels = 256;
inline constexpr double kSphereRadius = 6378137.0;  // metres
// Where the square world ends, north and south.
inline constexpr double kMaxLatitude = 85.05112877980659;
inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 20;

struct WorldPoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const WorldPoint&, const WorldPoint&) = default;
};

struct ScreenPoint {
    double x = 0;
    double y = 0;
    friend bool operator==(const ScreenPoint&, const ScreenPoint&) = default;
};

// Finite and within the square world. Longitudes outside +-180 count: they wrap.
bool OnMap(const GeoPosition& p);
// Longitudes past +-180 go on past the world's edges, so a path keeps its continuity.
WorldPoint ToWorld(const GeoPosition& p);
// Longitude within -180..180.
GeoPosition ToGeo(const WorldPoint& w);

struct TileKey {
    int z = 0;
    int x = 0;  // column, 0 at the antimeridian
    int y = 0;  // row, 0 at the top: a tile folder's z/x/y.png
    friend bool operator==(const TileKey&, const TileKey&) = default;
};
// The row as MBTiles files count it, from the bottom.
int TmsRow(const TileKey& key);

// Where a tile goes on the screen: the tile (its column wrapped into the world) and the
// screen position of its top left corner, for a tile side of `side` pixels.
struct PlacedTile {
    TileKey key;
    ScreenPoint topLeft;
    double side = 0;
};

// What the map window shows: a centre, a zoom (fractional between tile zooms) and a size in
// pixels. Left and right the world repeats.
class View {
  public:
    View(double width, double height) : width_(width), height_(height) {}

    void resize(double width, double height);
    // Centre x is wrapped into the world, y held on it.
    void centreOn(const WorldPoint& w);
    void centreOn(const GeoPosition& p) { centreOn(ToWorld(p)); }
    // Zooms by `levels` (each doubles the scale), keeping the world under `at` where it is.
    void zoomAbout(const ScreenPoint& at, double levels);
    void setZoom(double zoom);
    void panBy(double dx, double dy);

    double width() const { return width_; }
    double height() const { return height_; }
    double zoom() const { return zoom_; }
    WorldPoint centre() const { return centre_; }
    // Pixels across the whole world.
    double worldPixels() const;
    // Ground metres a pixel spans at the centre's latitude.
    double metresPerPixel() const;

    ScreenPoint toScreen(const WorldPoint& w) const;
    WorldPoint toWorld(const ScreenPoint& s) const;
    // The whole-world shifts that bring x-range [minX, maxX] into the view, lowest first.
    std::vector<int> copies(double minX, double maxX) const;
    // The copy of `x` (whole worlds apart) nearest the centre.
    double nearest(double x) const;
    // The tiles of zoom z that cover the view.
    std::vector<PlacedTile> tiles(int z) const;

    friend bool operator==(const View&, const View&) = default;

  private:
    double width_;
    double height_;
    double zoom_ = 12;
    WorldPoint centre_{0.5, 0.5};
};

}  // namespace kestrova::map
