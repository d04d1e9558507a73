#pragma once
// Paths on the globe put on the screen: into the square world (cut where it ends), onto the
// view (every copy of the world the view shows, cut to the view so no coordinate grows out
// of the painter's range), and the line under a click.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <vector>

#include "core/Readings.h"
#include "map/WebMercator.h"

namespace kestrova::map {

using Polyline = std::vector<ScreenPoint>;
using WorldPath = std::vector<WorldPoint>;

struct ScreenRect {
    double left = 0, top = 0, right = 0, bottom = 0;
};

// The parts of `line` inside `r`, cut where it leaves and again where it comes back.
std::vector<Polyline> Clip(std::span<const ScreenPoint> line, const ScreenRect& r);

// A path on the globe in the world square. Longitudes run on past the antimeridian so that a
// piece stays continuous; a piece ends where the path leaves the square world (near a pole),
// at a point that is no position, and at a jump no path of close points makes.
std::vector<WorldPath> WorldPieces(std::span<const GeoPosition> path);

// A piece of world on the view: each copy of it that the view shows, cut to the view grown by
// `margin` pixels on every side.
std::vector<Polyline> OnScreen(const View& view, std::span<const WorldPoint> piece, double margin);

// The drawn polylines and whose they are; the owner of the one nearest `at`, when it passes
// within `tolerance` pixels. A later one wins a tie, as it is drawn on top.
struct Drawn {
    std::size_t owner = 0;
    Polyline points;
};
std::optional<std::size_t> Nearest(std::span<const Drawn> drawn, const ScreenPoint& at,
                                   double tolerance);

// The track in the stretches the GPS showed without a break: a gap longer than `gapMs`
// between two positions is not joined, as nobody knows where the vehicle went meanwhile.
std::vector<std::vector<GeoPosition>> SplitAtGaps(const std::deque<PositionShown>& track,
                                                  std::int64_t gapMs);

}  // namespace kestrova::map
