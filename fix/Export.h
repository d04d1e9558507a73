#pragma once
// The lines of bearing, the track and the fix with its ellipses for other tools: GeoJSON
// (longitude first), KML and GPX. Lines and ellipses are drawn as points along geodesics.

#include <string>
#include <vector>

#include "core/Readings.h"
#include "fix/Estimator.h"
#include "fix/LineOfBearing.h"
#include "fix/LineStore.h"

namespace kestrova::fix {

struct ExportData {
    std::vector<LineOfBearing> lines;
    std::vector<BearingVerdict> verdicts;  // parallel to lines, or empty
    std::vector<GeoPosition> track;
    FixResult fix;
    // How far each line is drawn; 0: past the fix (one and a half times the farthest
    // station's distance), or 20 km without one.
    double lineLengthMetres = 0;
};

// What a store holds now: its lines with their verdicts, its track and its fix.
ExportData Snapshot(LineStore& store);

std::string ToGeoJson(const ExportData& data);
std::string ToKml(const ExportData& data);
std::string ToGpx(const ExportData& data);

// Points along the geodesic from `station` at `bearing` degrees true for `metres`, no more
// than `stepMetres` apart, both ends included.
std::vector<GeoPosition> GeodesicPath(const GeoPosition& station, double bearing, double metres,
                                      double stepMetres);
// The ellipse's outline around `centre`, `points` points, the first repeated at the end.
std::vector<GeoPosition> EllipseOutline(const GeoPosition& centre, const Ellipse& e, int points);

}  // namespace kestrova::fix
