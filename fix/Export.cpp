#include "fix/Export.h"

#include <GeographicLib/Geodesic.hpp>
#include <GeographicLib/GeodesicLine.hpp>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "core/LocalTime.h"
#include "core/Numbers.h"
#include "fix/Geodesy.h"

namespace kestrova::fix {

namespace {

constexpr double kDefaultLineMetres = 20000;
constexpr int kLinePoints = 64;
constexpr int kEllipsePoints = 72;

// A shape to write: its name, a description, and its points.
struct Shape {
    enum class Kind { Point, Line, Ring } kind;
    std::string name;
    std::string description;
    std::vector<GeoPosition> points;
    std::string properties;  // GeoJSON members, each starting with ","
};

std::string number(const char* format, double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, format, v);
    return buf;
}

std::string coordinate(double degrees) {
    return number("%.7f", degrees);
}

bool validUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80         ? 1
                              : (c >> 5) == 6  ? 2
                              : (c >> 4) == 14 ? 3
                              : (c >> 3) == 30 ? 4
                                               : 0;
        if (n == 0 || i + n > s.size()) {
            return false;
        }
        for (std::size_t k = 1; k < n; ++k) {
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 2) {
                return false;
            }
        }
        i += n;
    }
    return true;
}

// UTF-8 as it stands; anything else is taken as the display's Latin-1.
std::string utf8(std::string_view s) {
    if (validUtf8(s)) {
        return std::string(s);
    }
    return Latin1ToUtf8(s);
}

std::string json(std::string_view s) {
    std::string out = "\"";
    for (const char c : utf8(s)) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
            out += buf;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string xml(std::string_view s) {
    std::string out;
    for (const char c : utf8(s)) {
        switch (c) {
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '&':
                out += "&amp;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += static_cast<unsigned char>(c) < 0x20 && c != '\n' && c != '\t' ? ' ' : c;
        }
    }
    return out;
}

const char* sourceName(HeadingSource h) {
    switch (h) {
        case HeadingSource::Compass:
            return "compass";
        case HeadingSource::Course:
            return "course";
        case HeadingSource::Fixed:
            return "fixed";
        case HeadingSource::Manual:
            return "manual";
    }
    return "";
}

double lineLength(const ExportData& d) {
    if (d.lineLengthMetres > 0) {
        return d.lineLengthMetres;
    }
    if (!d.fix.ok()) {
        return kDefaultLineMetres;
    }
    double farthest = 0;
    for (const LineOfBearing& l : d.lines) {
        farthest = std::max(farthest, Metres(l.station, d.fix.position));
    }
    return std::max(1.5 * farthest, 1000.0);
}

Shape lineShape(const ExportData& d, std::size_t i, double length) {
    const LineOfBearing& l = d.lines[i];
    const BearingVerdict v =
        i < d.verdicts.size() ? d.verdicts[i] : BearingVerdict{std::nan(""), false};
    const std::string bearing = number("%.1f", l.trueBearing);
    const std::string residual =
        std::isfinite(v.residualDegrees) ? number("%.2f", v.residualDegrees) : std::string("null");
    Shape s{Shape::Kind::Line,
            "bearing " + bearing,
            FormatLocalTime(l.time.local) + ", " + bearing + " degrees true (" +
                sourceName(l.heading) + ")" + (v.used ? ", used" : ", not used") +
                (l.note.empty() ? "" : ", " + l.note),
            GeodesicPath(l.station, l.trueBearing, length, length / kLinePoints),
            {}};
    s.properties = ",\"kind\":\"bearing\",\"line\":" + std::to_string(l.id) +
                   ",\"time\":" + json(FormatLocalTime(l.time.local)) + ",\"bearing\":" + bearing +
                   ",\"heading\":\"" + sourceName(l.heading) +
                   "\",\"used\":" + (v.used ? "true" : "false") + ",\"residual\":" + residual +
                   ",\"excluded\":" + (l.excluded ? "true" : "false") + ",\"note\":" + json(l.note);
    return s;
}

std::string ellipseText(const Ellipse& e) {
    return number("%.0f", e.semiMajorMetres) + " m by " + number("%.0f", e.semiMinorMetres) +
           " m, major axis at " + number("%.1f", e.orientationDegrees) + " degrees true";
}

Shape ellipseShape(const FixResult& f, const Ellipse& e) {
    const std::string p = number("%.0f", e.probability * 100);
    Shape s{Shape::Kind::Ring,
            p + " % ellipse",
            ellipseText(e),
            EllipseOutline(f.position, e, kEllipsePoints),
            {}};
    s.properties = ",\"kind\":\"ellipse\",\"probability\":" + number("%.2f", e.probability) +
                   ",\"semi_major_m\":" + number("%.1f", e.semiMajorMetres) +
                   ",\"semi_minor_m\":" + number("%.1f", e.semiMinorMetres) +
                   ",\"orientation_deg\":" + number("%.2f", e.orientationDegrees);
    return s;
}

std::vector<Shape> shapes(const ExportData& d) {
    std::vector<Shape> out;
    const double length = lineLength(d);
    for (std::size_t i = 0; i < d.lines.size(); ++i) {
        out.push_back(lineShape(d, i, length));
    }
    if (d.track.size() >= 2) {
        out.push_back(
            {Shape::Kind::Line, "track", "the positions shown", d.track, ",\"kind\":\"track\""});
    }
    if (d.fix.ok()) {
        out.push_back({Shape::Kind::Point,
                       "fix",
                       ellipseText(d.fix.ellipse95),
                       {d.fix.position},
                       ",\"kind\":\"fix\",\"used\":" + std::to_string(d.fix.used) +
                           ",\"given\":" + std::to_string(d.fix.given) +
                           ",\"sigma_deg\":" + number("%.2f", d.fix.sigmaDegrees)});
        out.push_back(ellipseShape(d.fix, d.fix.ellipse50));
        out.push_back(ellipseShape(d.fix, d.fix.ellipse95));
    }
    return out;
}

std::string geoJsonPoints(const std::vector<GeoPosition>& points) {
    std::string out = "[";
    for (std::size_t i = 0; i < points.size(); ++i) {
        out += (i ? ",[" : "[") + coordinate(points[i].longitude) + "," +
               coordinate(points[i].latitude) + "]";
    }
    return out + "]";
}

std::string kmlPoints(const std::vector<GeoPosition>& points) {
    std::string out;
    for (const GeoPosition& p : points) {
        out += (out.empty() ? "" : " ") + coordinate(p.longitude) + "," + coordinate(p.latitude);
    }
    return out;
}

std::string gpxPoint(const char* tag, const GeoPosition& p) {
    return std::string("<") + tag + " lat=\"" + coordinate(p.latitude) + "\" lon=\"" +
           coordinate(p.longitude) + "\"";
}

}  // namespace

ExportData Snapshot(LineStore& store) {
    ExportData d;
    d.fix = store.fix();
    d.lines.assign(store.lines().begin(), store.lines().end());
    d.verdicts = d.fix.bearings;
    for (const PositionShown& p : store.track()) {
        d.track.push_back(p.position);
    }
    return d;
}

std::vector<GeoPosition> GeodesicPath(const GeoPosition& station, double bearing, double metres,
                                      double stepMetres) {
    const GeographicLib::GeodesicLine line =
        GeographicLib::Geodesic::WGS84().Line(station.latitude, station.longitude, bearing);
    const int steps = std::clamp(static_cast<int>(std::ceil(metres / stepMetres)), 1, 100000);
    std::vector<GeoPosition> points;
    for (int i = 0; i <= steps; ++i) {
        GeoPosition p;
        line.Position(metres * i / steps, p.latitude, p.longitude);
        points.push_back(p);
    }
    return points;
}

std::vector<GeoPosition> EllipseOutline(const GeoPosition& centre, const Ellipse& e, int points) {
    const double axis = e.orientationDegrees * std::numbers::pi / 180;
    std::vector<GeoPosition> out;
    for (int i = 0; i < points; ++i) {
        // Counter-clockwise on the map: from the major axis towards its left.
        const double t = -2 * std::numbers::pi * i / points;
        const double a = e.semiMajorMetres * std::cos(t), b = e.semiMinorMetres * std::sin(t);
        const double east = a * std::sin(axis) + b * std::cos(axis);
        const double north = a * std::cos(axis) - b * std::sin(axis);
        out.push_back(Move(centre, std::atan2(east, north) * 180 / std::numbers::pi,
                           std::hypot(east, north)));
    }
    if (!out.empty()) {
        out.push_back(out.front());
    }
    return out;
}

std::string ToGeoJson(const ExportData& d) {
    std::string out = "{\"type\":\"FeatureCollection\",\"features\":[";
    bool first = true;
    for (const Shape& s : shapes(d)) {
        const char* type = s.kind == Shape::Kind::Point  ? "Point"
                           : s.kind == Shape::Kind::Line ? "LineString"
                                                         : "Polygon";
        std::string points = geoJsonPoints(s.points);
        if (s.kind == Shape::Kind::Point) {
            points = points.substr(1, points.size() - 2);
        } else if (s.kind == Shape::Kind::Ring) {
            points.insert(0, "[");
            points += ']';
        }
        out += std::string(first ? "" : ",") + "\n{\"type\":\"Feature\",\"geometry\":{\"type\":\"" +
               type + "\",\"coordinates\":" + points +
               "},\"properties\":{\"name\":" + json(s.name) + s.properties + "}}";
        first = false;
    }
    return out + "\n]}\n";
}

std::string ToKml(const ExportData& d) {
    std::string out =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\">"
        "<Document><name>Kestrova lines of bearing</name>\n";
    for (const Shape& s : shapes(d)) {
        const std::string points = kmlPoints(s.points);
        out += "<Placemark><name>" + xml(s.name) + "</name><description>" + xml(s.description) +
               "</description>";
        if (s.kind == Shape::Kind::Point) {
            out += "<Point><coordinates>" + points + "</coordinates></Point>";
        } else if (s.kind == Shape::Kind::Line) {
            out += "<LineString><tessellate>1</tessellate><coordinates>" + points +
                   "</coordinates></LineString>";
        } else {
            out += "<Polygon><outerBoundaryIs><LinearRing><coordinates>" + points +
                   "</coordinates></LinearRing></outerBoundaryIs></Polygon>";
        }
        out += "</Placemark>\n";
    }
    return out + "</Document></kml>\n";
}

std::string ToGpx(const ExportData& d) {
    // GPX keeps its waypoints, routes and tracks in that order: the fix, the lines and the
    // ellipses, the track.
    std::string wpt, rte, trk;
    for (const Shape& s : shapes(d)) {
        const std::string head =
            "<name>" + xml(s.name) + "</name><desc>" + xml(s.description) + "</desc>";
        if (s.kind == Shape::Kind::Point) {
            wpt += gpxPoint("wpt", s.points.front()) + ">" + head + "</wpt>\n";
            continue;
        }
        const bool track = s.name == "track";
        std::string& to = track ? trk : rte;
        to += track ? "<trk>" + head + "<trkseg>" : "<rte>" + head;
        for (const GeoPosition& p : s.points) {
            to += gpxPoint(track ? "trkpt" : "rtept", p) + "/>";
        }
        to += track ? "</trkseg></trk>\n" : "</rte>\n";
    }
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" "
           "creator=\"Kestrova\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
           wpt + rte + trk + "</gpx>\n";
}

}  // namespace kestrova::fix
