#include "tools/fix/FixTool.h"
#include "core/Numbers.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>

namespace kestrova::fixtool {

namespace {

// Stores the value of one option that takes one; "" or what is wrong.
std::string take(std::string_view name, const std::string& value, ToolOptions& o) {
    if (name == "sigma" || name == "declination") {
        const auto v = FiniteNumber(value);
        const bool sigma = name == "sigma";
        if (!v || (sigma ? !(*v >= 0.1 && *v <= 90) : !(*v >= -180 && *v <= 180))) {
            return "--" + std::string(name) + " takes degrees" +
                   (sigma ? " from 0.1 to 90" : " from -180 to 180") + ", not \"" + value + "\"";
        }
        (sigma ? o.fix.sigmaDegrees : o.log.declinationDegrees) = *v;
        return "";
    }
    if (name == "since" || name == "until") {
        const auto t = fix::ParseLogTime(value);
        if (!t) {
            return "--" + std::string(name) + " takes a time as the log writes it, such as " +
                   "\"2024-05-01 14:03:07\", not \"" + value + "\"";
        }
        (name == "since" ? o.log.since : o.log.until) = *t;
        return "";
    }
    (name == "geojson" ? o.geojson : name == "kml" ? o.kml : o.gpx) = value;
    return value.empty() ? "--" + std::string(name) + " needs a file name" : "";
}

bool takesValue(std::string_view name) {
    for (const char* n : {"sigma", "declination", "since", "until", "geojson", "kml", "gpx"}) {
        if (name == n) {
            return true;
        }
    }
    return false;
}

std::string fixed(const char* format, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

std::string sigmaKind(const fix::FixResult& f) {
    return f.sigmaEstimated ? "estimated" : f.sigmaNominal ? "nominal" : "given";
}

std::string ellipseLine(const fix::Ellipse& e) {
    return fixed("%.0f", e.probability * 100) + " % ellipse: " + fixed("%.0f", e.semiMajorMetres) +
           " m by " + fixed("%.0f", e.semiMinorMetres) + " m, major axis at " +
           fixed("%.1f", e.orientationDegrees) + " degrees true\n";
}

std::string ellipseJson(const fix::Ellipse& e) {
    return "{\"semi_major_m\":" + fixed("%.1f", e.semiMajorMetres) +
           ",\"semi_minor_m\":" + fixed("%.1f", e.semiMinorMetres) +
           ",\"orientation_deg\":" + fixed("%.2f", e.orientationDegrees) + "}";
}

std::string counts(const fix::FixResult& f, const fix::LogContents& log) {
    return "bearings: " + std::to_string(f.used) + " used of " + std::to_string(f.given) +
           " given\nrows: " + std::to_string(log.rows) + " read, " + std::to_string(log.damaged) +
           " damaged skipped, " + std::to_string(log.noPosition) + " without a position, " +
           std::to_string(log.noHeading) + " without a heading\n";
}

}  // namespace

std::string ParseArguments(int argc, const char* const* argv, ToolOptions& o) {
    for (int i = 1; i < argc; ++i) {
        std::string_view a = argv[i];
        if (!a.starts_with("--") || a == "--") {
            o.logs.emplace_back(a == "--" && i + 1 < argc ? argv[++i] : argv[i]);
            continue;
        }
        a.remove_prefix(2);
        const auto eq = a.find('=');
        const std::string_view name = a.substr(0, eq);
        if (name == "json" || name == "help") {
            (name == "json" ? o.json : o.help) = true;
            if (eq != std::string_view::npos) {
                return "--" + std::string(name) + " takes no value";
            }
            continue;
        }
        if (!takesValue(name)) {
            return "unknown option --" + std::string(name);
        }
        if (eq == std::string_view::npos && i + 1 >= argc) {
            return "--" + std::string(name) + " needs a value";
        }
        const std::string value(eq == std::string_view::npos ? argv[++i] : a.substr(eq + 1));
        if (auto error = take(name, value, o); !error.empty()) {
            return error;
        }
    }
    if (o.logs.empty() && !o.help) {
        return "no bearing log given";
    }
    return "";
}

std::string FixText(const fix::FixResult& f, const fix::LogContents& log) {
    if (!f.ok()) {
        return "no fix: " + std::string(fix::RefusalText(f.refusal)) + "\n" + counts(f, log);
    }
    return "fix: " + fixed("%.6f", f.position.latitude) + ", " +
           fixed("%.6f", f.position.longitude) + " (latitude, longitude)\n" +
           ellipseLine(f.ellipse50) + ellipseLine(f.ellipse95) +
           "bearing sigma: " + fixed("%.2f", f.sigmaDegrees) + " degrees, " + sigmaKind(f) + "\n" +
           counts(f, log);
}

std::string FixJson(const fix::FixResult& f, const fix::LogContents& log) {
    std::string out = "{";
    if (f.ok()) {
        out += "\"fix\":{\"latitude\":" + fixed("%.7f", f.position.latitude) +
               ",\"longitude\":" + fixed("%.7f", f.position.longitude) +
               "},\"ellipse50\":" + ellipseJson(f.ellipse50) +
               ",\"ellipse95\":" + ellipseJson(f.ellipse95) +
               ",\"sigma_deg\":" + fixed("%.3f", f.sigmaDegrees) + ",\"sigma\":\"" + sigmaKind(f) +
               "\",\"reason\":null";
    } else {
        out += "\"fix\":null,\"reason\":\"" + std::string(fix::RefusalText(f.refusal)) + "\"";
    }
    return out + ",\"bearings\":{\"given\":" + std::to_string(f.given) +
           ",\"usable\":" + std::to_string(f.usable) + ",\"used\":" + std::to_string(f.used) +
           "},\"rows\":{\"read\":" + std::to_string(log.rows) +
           ",\"damaged\":" + std::to_string(log.damaged) +
           ",\"no_position\":" + std::to_string(log.noPosition) +
           ",\"no_heading\":" + std::to_string(log.noHeading) + "}}\n";
}

const char* HelpText() {
    return R"(kestrova-fix [options] LOG.csv...
Finds the transmitter from the bearing logs Kestrova writes (--bearing-log): the position
where the lines of bearing cross best, with its 50 % and 95 % error ellipses, or the reason
there is none.

  --json             print one JSON object instead of text
  --sigma DEG        one standard deviation of a bearing (default: estimated from the
                     residuals when there are enough bearings, else 5 degrees)
  --declination DEG  east positive, added to the ABS bearings of a log without true bearings
  --since TIME       leave out rows before TIME, as the log writes it: "2024-05-01 14:03:07"
  --until TIME       leave out rows after TIME
  --geojson FILE     write the lines of bearing, the track, the fix and its ellipses
  --kml FILE         the same as KML
  --gpx FILE         the same as GPX
  --help             this text

Exit status: 0 with a fix, 3 without one, 2 on a usage error, 1 when a file cannot be read
or written.
)";
}

}  // namespace kestrova::fixtool
