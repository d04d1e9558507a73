#pragma once
// The lines of bearing the live display makes, for the map: each bearing the readout shows
// becomes a line when it has a position and a heading to make it true. Lines can be left
// out of the fix and put back, added by hand, cleared; the oldest go by count and age.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/Readings.h"
#include "fix/Estimator.h"
#include "fix/LineOfBearing.h"

namespace kestrova::fix {

struct StoreSettings {
    double declinationDegrees = 0;  // Declination=: east positive, added to compass headings
    double courseMinSpeedKmh = 10;  // CourseMinSpeed=: slower, the course is not trusted
    std::optional<double> fixedHeadingDegrees{};  // FixedHeading=: degrees true, none by default
    std::optional<double> sigmaDegrees{};         // BearingSigma=: none, estimated
    std::size_t maxCount = 300;                   // LobMaxCount=
    double maxAgeSeconds = 600;                   // LobMaxAge=
};

// The settings from the settings file: `readSetting` gives a key's value ("" when missing,
// which means the default and is no error); a bad value is ignored and `report`ed, naming
// the key and what it takes.
StoreSettings ReadStoreSettings(const std::function<std::string(const std::string&)>& readSetting,
                                const std::function<void(std::string_view)>& report);

struct StoreCounts {
    long bearings = 0;    // readouts heard
    long lines = 0;       // of those, made into lines
    long noPosition = 0;  // no usable position shown with them
    long noHeading = 0;   // no compass, no trusted course and no fixed heading
};

class LineStore : public ReadingListener {
  public:
    explicit LineStore(const StoreSettings& settings) : settings_(settings) {}

    void bearingShown(const BearingShown& b) override;
    void positionShown(const PositionShown& p) override;
    void positionLost() override;

    // A bearing typed in by the operator; its id, or 0 when the position or bearing is no
    // number on the globe.
    std::uint64_t addManual(const GeoPosition& station, double trueBearing, std::string note,
                            const Stamp& time);
    // False when no line has that id.
    bool setExcluded(std::uint64_t id, bool excluded);
    void clear();
    // Drops the lines and track points older than the age limit at `steadyMs`.
    void expire(std::int64_t steadyMs);

    const std::deque<LineOfBearing>& lines() const { return lines_; }
    // The positions shown, oldest first, within the same age limit.
    const std::deque<PositionShown>& track() const { return track_; }
    // The fix from the lines not left out; its verdicts run parallel to lines(). Worked out
    // again only after a change.
    const FixResult& fix();
    const StoreCounts& counts() const { return counts_; }
    // The true bearing the last readout made, none when it made no line: for the bearing log.
    std::optional<double> lastTrueBearing() const { return last_; }
    // Grows with every change to the lines or the track, so a view knows when to draw again.
    std::uint64_t revision() const { return revision_; }
    const StoreSettings& settings() const { return settings_; }

  private:
    void add(LineOfBearing line);
    void changed();
    std::optional<double> headingFor(const BearingShown& b, HeadingSource& source) const;
    std::optional<double> courseTo(const PositionShown& p) const;

    StoreSettings settings_;
    std::deque<LineOfBearing> lines_;
    std::deque<PositionShown> track_;
    std::optional<double> course_;  // degrees true, while the last positions allow one
    std::optional<double> last_;
    StoreCounts counts_;
    std::uint64_t nextId_ = 1;
    std::uint64_t revision_ = 0;
    std::uint64_t linesRevision_ = 0;
    std::uint64_t fixRevision_ = ~std::uint64_t{0};
    FixResult fix_;
};

}  // namespace kestrova::fix
