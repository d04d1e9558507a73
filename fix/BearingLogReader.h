#pragma once
// Reads the bearing logs the program writes, the seven-column form and the one with the true
// bearing at the end, into lines of bearing and a track. Damaged rows are counted, not used.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/LocalTime.h"
#include "core/Readings.h"

namespace kestrova::fix {

// A local time of the log ("2024-05-01 14:03:07.123", the milliseconds optional) as
// milliseconds on one count, for ordering and windows; nothing when it is no such time.
std::optional<std::int64_t> ParseLogTime(std::string_view text);
// The same as the date and time it names.
std::optional<LocalTime> ParseLocalTime(std::string_view text);

struct LogOptions {
    double declinationDegrees = 0;      // added to a seven-column log's ABS bearings
    std::optional<std::int64_t> since;  // rows before this time are left out (ParseLogTime)
    std::optional<std::int64_t> until;  // rows after it too
};

struct LogBearing {
    std::int64_t time = 0;  // ParseLogTime's count
    std::string timeText;
    LocalTime local;
    GeoPosition station;
    double trueBearing = 0;
};

struct LogPoint {
    std::int64_t time = 0;
    GeoPosition position;
};

struct LogContents {
    std::vector<LogBearing> bearings;  // in time order once Finish()ed
    std::vector<LogPoint> track;       // every position in the window, in time order
    long rows = 0;                     // bearing rows in the time window, damaged ones aside
    long damaged = 0;                  // rows that are no bearing row, wherever they lie
    long noPosition = 0;               // rows in the window without a position
    long noHeading = 0;  // rows with a position but nothing to make their bearing true
};

// Adds what the text of one log holds; call once per file, then Finish.
void ReadBearingLog(std::string_view text, const LogOptions& options, LogContents& into);
// Puts bearings and track in time order (rows may come out of order, files in any order).
void Finish(LogContents& contents);

}  // namespace kestrova::fix
