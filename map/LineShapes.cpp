#include "map/LineShapes.h"

#include <algorithm>
#include <unordered_set>

#include "fix/Export.h"
#include "fix/Geodesy.h"

namespace kestrova::map {

double LineLength(const std::deque<fix::LineOfBearing>& lines, const fix::FixResult& fix) {
    if (!fix.ok()) {
        return kShortestLine;
    }
    double farthest = 0;
    for (const fix::LineOfBearing& l : lines) {
        farthest = std::max(farthest, fix::Metres(l.station, fix.position));
    }
    double length = kShortestLine;
    while (length < 1.5 * farthest && length < kLongestLine) {
        length *= 2;
    }
    return length;
}

bool LineShapes::update(const std::deque<fix::LineOfBearing>& lines, double metres,
                        std::size_t budget) {
    if (metres != metres_) {
        shapes_.clear();
        metres_ = metres;
    }
    std::unordered_set<std::uint64_t> alive;
    bool complete = true;
    for (const fix::LineOfBearing& l : lines) {
        alive.insert(l.id);
        if (shapes_.contains(l.id)) {
            continue;
        }
        if (budget == 0) {
            complete = false;
            continue;
        }
        --budget;
        const auto path = fix::GeodesicPath(l.station, l.trueBearing, metres, metres / kStretches);
        shapes_.emplace(l.id, WorldPieces(path));
    }
    std::erase_if(shapes_, [&](const auto& s) { return !alive.contains(s.first); });
    return complete;
}

const std::vector<WorldPath>& LineShapes::of(std::uint64_t id) const {
    static const std::vector<WorldPath> kNone;
    const auto it = shapes_.find(id);
    return it == shapes_.end() ? kNone : it->second;
}

}  // namespace kestrova::map
