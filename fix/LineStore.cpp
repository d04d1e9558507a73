#include "fix/LineStore.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "fix/Geodesy.h"

namespace kestrova::fix {

namespace {

// The most positions kept whatever the age limit: ten hours of one a second.
constexpr std::size_t kMaxTrack = 36000;
// The course is taken over the last 20 m of road, when the last 10 s hold that much: a GPS
// position is good to a few tenths of a metre, which is degrees over a metre or two.
constexpr double kCourseMetres = 20;
constexpr std::int64_t kCourseMs = 10000;

bool usable(const GeoPosition& p) {
    return OnGlobe(p) && !IsNullIsland(p);
}

}  // namespace

void LineStore::positionShown(const PositionShown& p) {
    if (!usable(p.position)) {
        return;
    }
    course_ = courseTo(p);
    track_.push_back(p);
    if (track_.size() > kMaxTrack) {
        track_.pop_front();
    }
    ++revision_;
}

std::optional<double> LineStore::courseTo(const PositionShown& p) const {
    for (auto it = track_.rbegin(); it != track_.rend(); ++it) {
        const std::int64_t ms = p.time.steadyMs - it->time.steadyMs;
        if (ms > kCourseMs) {
            break;
        }
        const Sight s = Look(it->position, p.position);
        if (s.metres >= kCourseMetres) {
            const bool fast = ms > 0 && s.metres / static_cast<double>(ms) * 3600.0 >=
                                            settings_.courseMinSpeedKmh;
            return fast ? std::optional(Wrap360(s.azimuth)) : std::nullopt;
        }
    }
    return std::nullopt;
}

void LineStore::positionLost() {
    course_.reset();
}

std::optional<double> LineStore::headingFor(const BearingShown& b, HeadingSource& source) const {
    if (b.absolute && b.compassHeading >= 0 && b.compassHeading < 360) {
        source = HeadingSource::Compass;
        return b.compassHeading + settings_.declinationDegrees;
    }
    if (course_) {
        source = HeadingSource::Course;
        return course_;
    }
    source = HeadingSource::Fixed;
    return settings_.fixedHeadingDegrees;
}

void LineStore::bearingShown(const BearingShown& b) {
    ++counts_.bearings;
    last_.reset();
    expire(b.time.steadyMs);
    if (!b.position || !usable(*b.position)) {
        ++counts_.noPosition;
        return;
    }
    HeadingSource source = HeadingSource::Compass;
    const std::optional<double> heading = headingFor(b, source);
    if (!heading) {
        ++counts_.noHeading;
        return;
    }
    // The readout mirrors an upside-down antenna after adding the compass heading; the
    // antenna itself sees the world mirrored, so the mirror belongs to the relative bearing.
    const double relative = b.relativeTenths / 10.0;
    const double facing = b.airMount ? 360.0 - relative : relative;
    ++counts_.lines;
    last_ = Wrap360(*heading + facing);
    add({0, b.time, *b.position, *last_, source, b.signal, b.band, {}, false});
}

std::uint64_t LineStore::addManual(const GeoPosition& station, double trueBearing, std::string note,
                                   const Stamp& time) {
    if (!usable(station) || !std::isfinite(trueBearing)) {
        return 0;
    }
    add({0,
         time,
         station,
         Wrap360(trueBearing),
         HeadingSource::Manual,
         0,
         {},
         std::move(note),
         false});
    return lines_.back().id;
}

void LineStore::add(LineOfBearing line) {
    line.id = nextId_++;
    lines_.push_back(std::move(line));
    while (lines_.size() > std::max<std::size_t>(settings_.maxCount, 1)) {
        lines_.pop_front();
    }
    changed();
}

bool LineStore::setExcluded(std::uint64_t id, bool excluded) {
    const auto it = std::find_if(lines_.begin(), lines_.end(),
                                 [id](const LineOfBearing& l) { return l.id == id; });
    if (it == lines_.end()) {
        return false;
    }
    if (it->excluded != excluded) {
        it->excluded = excluded;
        changed();
    }
    return true;
}

void LineStore::clear() {
    lines_.clear();
    track_.clear();
    course_.reset();
    changed();
}

void LineStore::expire(std::int64_t steadyMs) {
    const double limitMs = settings_.maxAgeSeconds * 1000.0;
    const auto old = [&](const Stamp& t) {
        return static_cast<double>(steadyMs - t.steadyMs) > limitMs;
    };
    const std::size_t lines = lines_.size(), track = track_.size();
    std::erase_if(lines_, [&](const LineOfBearing& l) { return old(l.time); });
    std::erase_if(track_, [&](const PositionShown& p) { return old(p.time); });
    if (lines_.size() != lines) {
        changed();
    } else if (track_.size() != track) {
        ++revision_;
    }
}

void LineStore::changed() {
    ++revision_;
    ++linesRevision_;
}

const FixResult& LineStore::fix() {
    if (fixRevision_ != linesRevision_) {
        std::vector<Observation> observations;
        observations.reserve(lines_.size());
        for (const LineOfBearing& l : lines_) {
            observations.push_back({l.station, l.trueBearing, l.excluded});
        }
        FixOptions options;
        options.sigmaDegrees = settings_.sigmaDegrees;
        fix_ = EstimateFix(observations, options);
        fixRevision_ = linesRevision_;
    }
    return fix_;
}

}  // namespace kestrova::fix
