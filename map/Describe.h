#pragma once
// The map's words for the fix and for one line of bearing, in UTF-8.

#include <string>

#include "fix/Estimator.h"
#include "fix/LineOfBearing.h"

namespace kestrova::map {

// "Fix 52° 05.1234' N  005° 07.5678' E", then "50 %: 1.2 x 0.4 km, 95 %: ..." and
// "57 of 60 bearings"; or "No fix: " and the estimator's reason.
std::string FixSummary(const fix::FixResult& fix);

// "14:03:07  123.4° true  signal 57  residual +1.2°  in the fix" for a line and the
// estimator's verdict on it; a line typed in by hand shows its note instead of a signal.
std::string LineSummary(const fix::LineOfBearing& line, const fix::BearingVerdict* verdict);

}  // namespace kestrova::map
