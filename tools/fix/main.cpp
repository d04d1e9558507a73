// kestrova-fix: reads bearing logs, prints the transmitter's position or why there is none.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "fix/Export.h"
#include "tools/fix/FixTool.h"

namespace {

using namespace kestrova;

constexpr int kFix = 0, kUnreadable = 1, kUsage = 2, kNoFix = 3;

bool readFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "kestrova-fix: cannot write %s: %s\n", path.c_str(),
                     std::strerror(errno));
        return false;
    }
    return true;
}

fix::ExportData exportData(const fix::LogContents& log, const fix::FixResult& f) {
    fix::ExportData d;
    std::uint64_t id = 0;
    for (const fix::LogBearing& b : log.bearings) {
        fix::LineOfBearing l;
        l.id = ++id;
        l.time.local = b.local;
        l.station = b.station;
        l.trueBearing = b.trueBearing;
        d.lines.push_back(l);
    }
    for (const fix::LogPoint& p : log.track) {
        d.track.push_back(p.position);
    }
    d.verdicts = f.bearings;
    d.fix = f;
    return d;
}

bool writeExports(const fixtool::ToolOptions& o, const fix::ExportData& d) {
    bool ok = true;
    if (!o.geojson.empty()) {
        ok = writeFile(o.geojson, fix::ToGeoJson(d)) && ok;
    }
    if (!o.kml.empty()) {
        ok = writeFile(o.kml, fix::ToKml(d)) && ok;
    }
    if (!o.gpx.empty()) {
        ok = writeFile(o.gpx, fix::ToGpx(d)) && ok;
    }
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    fixtool::ToolOptions o;
    if (const std::string error = fixtool::ParseArguments(argc, argv, o); !error.empty()) {
        std::fprintf(stderr, "kestrova-fix: %s (try --help)\n", error.c_str());
        return kUsage;
    }
    if (o.help) {
        std::fputs(fixtool::HelpText(), stdout);
        return kFix;
    }
    fix::LogContents log;
    for (const std::string& path : o.logs) {
        std::string text;
        if (!readFile(path, text)) {
            std::fprintf(stderr, "kestrova-fix: cannot read %s: %s\n", path.c_str(),
                         std::strerror(errno));
            return kUnreadable;
        }
        fix::ReadBearingLog(text, o.log, log);
    }
    fix::Finish(log);
    std::vector<fix::Observation> observations;
    for (const fix::LogBearing& b : log.bearings) {
        observations.push_back({b.station, b.trueBearing, false});
    }
    const fix::FixResult f = fix::EstimateFix(observations, o.fix);
    std::fputs((o.json ? fixtool::FixJson(f, log) : fixtool::FixText(f, log)).c_str(), stdout);
    if (!writeExports(o, exportData(log, f))) {
        return kUnreadable;
    }
    return f.ok() ? kFix : kNoFix;
}
