#pragma once
// kestrova-fix: the transmitter's position from bearing logs, as text or JSON, and the lines,
// track and fix for other tools.

#include <optional>
#include <string>
#include <vector>

#include "fix/BearingLogReader.h"
#include "fix/Estimator.h"

namespace kestrova::fixtool {

struct ToolOptions {
    bool json = false;
    bool help = false;
    fix::FixOptions fix;
    fix::LogOptions log;
    std::string geojson, kml, gpx;
    std::vector<std::string> logs;
};

// "" when the command line was understood, else what is wrong with it.
std::string ParseArguments(int argc, const char* const* argv, ToolOptions& options);
const char* HelpText();

// What the tool prints: the fix or the reason there is none, with the counts.
std::string FixText(const fix::FixResult& fix, const fix::LogContents& log);
std::string FixJson(const fix::FixResult& fix, const fix::LogContents& log);

}  // namespace kestrova::fixtool
