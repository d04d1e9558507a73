#pragma once
// The lines of bearing as geodesics in the world square, worked out once per line and length
// and kept by the line's id: a repaint only moves them onto the view.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <unordered_map>
#include <vector>

#include "fix/Estimator.h"
#include "fix/LineOfBearing.h"
#include "map/Geometry.h"

namespace kestrova::map {

// How far lines are drawn: half as far again past the fix as its farthest station, at least
// kShortestLine; doubled in steps so that it rarely changes as the fix moves.
inline constexpr double kShortestLine = 20000;  // metres
inline constexpr double kLongestLine = kShortestLine * 512;
double LineLength(const std::deque<fix::LineOfBearing>& lines, const fix::FixResult& fix);

class LineShapes {
  public:
    // Points of a line's geodesic: this many stretches, whatever its length.
    static constexpr int kStretches = 128;

    // Brings the shapes in step with `lines` drawn `metres` long, working out at most `budget`
    // new ones; true when every line has its shape.
    bool update(const std::deque<fix::LineOfBearing>& lines, double metres, std::size_t budget);
    // The pieces of a line; empty until worked out.
    const std::vector<WorldPath>& of(std::uint64_t id) const;

  private:
    std::unordered_map<std::uint64_t, std::vector<WorldPath>> shapes_;
    double metres_ = 0;
};

}  // namespace kestrova::map
