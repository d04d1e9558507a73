// The shapes the exports draw and the text they write: ellipse outlines and geodesic lines
// where they belong, longitude first, text escaped and in UTF-8.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>

#include "fix/Export.h"
#include "fix/Geodesy.h"

namespace kestrova::fix {
namespace {

TEST(Export, OutlinesAndPathsLieWhereTheyShould) {
    const GeoPosition c{60, 25};
    const auto ring = EllipseOutline(c, {0.95, 900, 300, 30}, 72);
    ASSERT_EQ(ring.size(), 73u);
    EXPECT_EQ(ring.front(), ring.back());
    double area = 0, far = 0, near = 1e9, farAzimuth = 0;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
        const Sight a = Look(c, ring[i]), b = Look(c, ring[i + 1]);
        const double rad = std::numbers::pi / 180;
        // Counter-clockwise in east-north: a positive shoelace area.
        area += a.metres * b.metres * std::sin((a.azimuth - b.azimuth) * rad) / 2;
        farAzimuth = a.metres > far ? a.azimuth : farAzimuth;
        far = std::max(far, a.metres);
        near = std::min(near, a.metres);
    }
    EXPECT_NEAR(area, std::numbers::pi * 900 * 300, 0.01 * std::numbers::pi * 900 * 300);
    EXPECT_NEAR(far, 900, 1e-6);
    EXPECT_NEAR(near, 300, 1e-6);
    EXPECT_NEAR(std::fmod(Wrap360(farAzimuth), 180), 30, 1e-6);
    const auto path = GeodesicPath(c, 77, 20000, 1000);
    ASSERT_EQ(path.size(), 21u);
    EXPECT_LT(Metres(path.front(), c), 1e-9);
    EXPECT_NEAR(Look(c, path.back()).metres, 20000, 1e-6);
    EXPECT_NEAR(Look(c, path.back()).azimuth, 77, 1e-9);
    EXPECT_NEAR(Look(c, path[10]).metres, 10000, 1e-6);
}

TEST(Export, LongitudeComesFirstAndTextIsEscapedUtf8) {
    ExportData d;
    for (const char* note : {"say \"hi\"\x01 \xC2\xB0", "\xE2\x82\xAC", "\xB0"}) {
        LineOfBearing l;
        l.id = d.lines.size() + 1;
        l.station = {52, 5};
        l.trueBearing = 90;
        l.note = note;
        d.lines.push_back(l);
    }
    d.track = {{52, 5}, {52.001, 5.002}};
    const std::string json = ToGeoJson(d), kml = ToKml(d), gpx = ToGpx(d);
    // Without a fix the lines run 20 km.
    const GeoPosition end = Move({52, 5}, 90, 20000);
    char last[64];
    std::snprintf(last, sizeof last, "[%.7f,%.7f]]", end.longitude, end.latitude);
    for (const std::string& want :
         {std::string("[[5.0000000,52.0000000],"), std::string(last),
          std::string("[5.0020000,52.0010000]]"),
          std::string("\"note\":\"say \\\"hi\\\"\\u0001 \xC2\xB0\""),
          std::string("\"note\":\"\xE2\x82\xAC\""), std::string("\"note\":\"\xC2\xB0\"")}) {
        EXPECT_NE(json.find(want), std::string::npos) << want;
    }
    EXPECT_EQ(json.find("\"fix\""), std::string::npos);
    EXPECT_NE(kml.find("<coordinates>5.0000000,52.0000000 "), std::string::npos);
    EXPECT_NE(kml.find("not used, say &quot;hi&quot;  \xC2\xB0</description>"), std::string::npos);
    EXPECT_NE(gpx.find("<rtept lat=\"52.0000000\" lon=\"5.0000000\"/>"), std::string::npos);
    EXPECT_NE(gpx.find("<trkpt lat=\"52.0010000\" lon=\"5.0020000\"/>"), std::string::npos);
    // A line is drawn with 64 points; the fix is a point of its own, longitude first.
    const std::size_t from = json.find("[[5.0000000,52.0000000],");
    const std::string line = json.substr(from, json.find("]]", from) - from);
    EXPECT_EQ(std::count(line.begin(), line.end(), '['), 2 + 64);
    d.fix.refusal = Refusal::None;
    d.fix.position = {52.5, 5.25};
    d.fix.ellipse50 = d.fix.ellipse95 = {0.95, 900, 300, 30};
    EXPECT_NE(ToGeoJson(d).find("\"coordinates\":[5.2500000,52.5000000]}"), std::string::npos);
}

}  // namespace
}  // namespace kestrova::fix
