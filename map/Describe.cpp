#include "map/Describe.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "core/LocalTime.h"
#include "core/Numbers.h"
#include "map/Coordinates.h"

namespace kestrova::map {

namespace {

// Our texts are Latin-1 like the labels; a note is UTF-8 as typed. The summaries are UTF-8.
std::string format(const char* pattern, double value) {
    char text[48];
    std::snprintf(text, sizeof text, pattern, value);
    return Latin1ToUtf8(text);
}

std::string axis(double metres) {
    return metres < 1000 ? format("%.0f m", metres) : format("%.1f km", metres / 1000);
}

std::string ellipse(const fix::Ellipse& e) {
    return format("%.0f %%: ", e.probability * 100) + axis(e.semiMajorMetres) + " x " +
           axis(e.semiMinorMetres) + format(" at %03.0f\xB0", e.orientationDegrees);
}

std::string sigma(const fix::FixResult& f) {
    const char* how = f.sigmaEstimated ? "estimated" : f.sigmaNominal ? "nominal" : "given";
    return format("sigma %.1f\xB0 ", f.sigmaDegrees) + how;
}

std::string verdictText(const fix::LineOfBearing& line, const fix::BearingVerdict* v) {
    if (line.excluded) {
        return "left out";
    }
    if (v == nullptr || std::isnan(v->residualDegrees)) {
        return v != nullptr && v->used ? "in the fix" : "not in the fix";
    }
    return format("residual %+.1f\xB0  ", v->residualDegrees) +
           (v->used ? "in the fix" : "judged wild");
}

}  // namespace

std::string FixSummary(const fix::FixResult& f) {
    if (!f.ok()) {
        return "No fix: " + std::string(fix::RefusalText(f.refusal));
    }
    const PositionTexts at = PositionText(f.position.latitude, f.position.longitude);
    return "Fix " + Latin1ToUtf8(at.decimalMinutes) + "\nhalf-axes " + ellipse(f.ellipse50) + ", " +
           ellipse(f.ellipse95) + "\n" + std::to_string(f.used) + " of " + std::to_string(f.given) +
           " bearings, " + sigma(f);
}

std::string LineSummary(const fix::LineOfBearing& line, const fix::BearingVerdict* verdict) {
    const std::string when = FormatLocalTime(line.time.local).substr(11, 8);
    std::string text = when + format("  %05.1f\xB0 true  ", line.trueBearing);
    text += line.heading == fix::HeadingSource::Manual ? "by hand: " + line.note
                                                       : "signal " + std::to_string(line.signal);
    return text + "  " + verdictText(line, verdict);
}

}  // namespace kestrova::map
