// The map's headless parts: the pointer's coordinates against the GPS labels' own text, the
// projection and the tiles that cover a view, paths cut to the view and the world, the click,
// round distances, colours, and the options.

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <tuple>

#include "app/CommandLine.h"
#include "display/Gps.h"
#include "map/Coordinates.h"
#include "map/Describe.h"
#include "map/Geometry.h"
#include "map/LineShapes.h"
#include "map/MapOptions.h"
#include "map/Scales.h"
#include "protocol/GpsPacket.h"
#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

using namespace kestrova::map;

double degreesOf(const GpsCoordinate& c) {
    const double d =
        std::stoi(c.degrees) + (std::stoi(c.minutes) + std::stoi(c.fraction) / 1e4) / 60;
    return c.hemisphere == 'S' || c.hemisphere == 'W' ? -d : d;
}

// The pointer's text from numbers is exactly what the labels show for the packet that gives
// those numbers: seconds rounded half up and held at 59.9, leading zeros, hemispheres.
TEST(Coordinates, WriteWhatTheGpsLabelsShow) {
    for (const char* packet :
         {"D-33521234+151123456", "D+05050070 001000000", "D+10209999-030400025",
          "D+10201667-030400991", "D+00000075-000000000", "D+89599992+179599991",
          "D-00590000-179599999", "D+45300025+000000001", "D-01010100+100590050"}) {
        StationRig r;
        const std::optional<GpsFix> parsed = ParseGpsPacket(packet);
        ASSERT_TRUE(parsed) << packet;
        const GpsFix& f = *parsed;
        GPSDisplay(r.st, f);
        const double lat = degreesOf(f.lat), lon = degreesOf(f.lon);
        EXPECT_EQ(SexagesimalText(lat, Axis::Latitude), r.window.text(El::Banner_GPS_Sexa_Lat));
        EXPECT_EQ(SexagesimalText(lon, Axis::Longitude), r.window.text(El::Banner_GPS_Sexa_Lon));
        EXPECT_EQ(DecimalMinutesText(lat, Axis::Latitude),
                  r.window.text(El::Banner_GPS_Decimal_Lat));
        EXPECT_EQ(DecimalMinutesText(lon, Axis::Longitude),
                  r.window.text(El::Banner_GPS_Decimal_Lon));
    }
    // Past the antimeridian the longitude comes round.
    EXPECT_EQ(DecimalMinutesText(190.5, Axis::Longitude), "169\xB0 30.0000' W");
}

// The world's corners, positions and back, and the rows an MBTiles file counts from below.
TEST(WebMercator, WorldTilesAndViews) {
    const WorldPoint nw = ToWorld({kMaxLatitude, -180}), se = ToWorld({-kMaxLatitude, 180});
    EXPECT_NEAR(nw.x, 0, 1e-12);
    EXPECT_NEAR(nw.y, 0, 1e-12);
    EXPECT_NEAR(se.x, 1, 1e-12);
    EXPECT_NEAR(se.y, 1, 1e-12);
    for (const GeoPosition p : {GeoPosition{52.52, 13.405}, {-33.87, 151.21}, {0, -179.99}}) {
        const GeoPosition back = ToGeo(ToWorld(p));
        EXPECT_NEAR(back.latitude, p.latitude, 1e-9);
        EXPECT_NEAR(back.longitude, p.longitude, 1e-9);
    }
    EXPECT_FALSE(OnMap({85.1, 0}));
    EXPECT_FALSE(OnMap({NAN, 0}));
    EXPECT_EQ(TmsRow({1, 0, 0}), 1);
    EXPECT_EQ(TmsRow({14, 8000, 5000}), 11383);

    // A view across the antimeridian: the last column, then column 0 on its right, each tile
    // placed where the point at its corner falls.
    View v(600, 400);
    v.setZoom(4);
    v.centreOn(GeoPosition{10, 179.9});
    EXPECT_NEAR(v.metresPerPixel(), 2 * M_PI * kSphereRadius * std::cos(10 * M_PI / 180) / 4096,
                1e-6);
    std::map<int, double> left;  // by column
    double right = 0, bottom = 0;
    for (const PlacedTile& t : v.tiles(4)) {
        left[t.key.x] = t.topLeft.x;
        EXPECT_EQ(t.side, 256);
        right = std::max(right, t.topLeft.x + t.side);
        bottom = std::max(bottom, t.topLeft.y + t.side);
    }
    EXPECT_GE(right, 600);  // the view covered to its far corner
    EXPECT_GE(bottom, 400);
    EXPECT_EQ(v.toWorld({300, 200}), v.centre());
    ASSERT_EQ(left.size(), 4u);  // 14 and 15 west of the antimeridian, 0 and 1 east of it
    EXPECT_NEAR(left[15], v.toScreen({15.0 / 16, 0}).x, 1e-6);
    EXPECT_NEAR(left[14], left[15] - 256, 1e-6);
    EXPECT_NEAR(left[0], left[15] + 256, 1e-6);
    EXPECT_NEAR(left[1], left[0] + 256, 1e-6);
    // Zooming about a point keeps the world under it.
    const WorldPoint under = v.toWorld({100, 50});
    v.zoomAbout({100, 50}, 3);
    EXPECT_NEAR(v.toScreen(under).x, 100, 1e-6);
    EXPECT_NEAR(v.toScreen(under).y, 50, 1e-6);
}

// Cut to a 100 x 100 box: inside, through, past, out and back in.
TEST(Geometry, ClipCutsWhereALineLeavesAndComesBack) {
    const ScreenRect box{0, 0, 100, 100};
    using P = ScreenPoint;
    const std::vector<std::pair<std::vector<P>, std::vector<Polyline>>> cases = {
        {{{10, 10}, {90, 90}}, {{{10, 10}, {90, 90}}}},
        {{{-50, 50}, {150, 50}}, {{{0, 50}, {100, 50}}}},
        {{{-50, -50}, {-10, 150}}, {}},
        {{{50, 50}, {150, 50}, {150, 80}, {50, 80}},
         {{{50, 50}, {100, 50}}, {{100, 80}, {50, 80}}}},
        {{{10, 10}, {50, 10}, {50, 60}}, {{{10, 10}, {50, 10}, {50, 60}}}},
        {{{50, -20}, {50, 120}}, {{{50, 0}, {50, 100}}}},
        {{{-50, 0}, {150, 0}}, {{{0, 0}, {100, 0}}}},  // along an edge: on the box
    };
    for (const auto& [line, want] : cases) {
        EXPECT_EQ(Clip(line, box), want);
    }
}

// Near the poles the square world ends; across the antimeridian a path runs on; a point that
// is no position breaks it.
TEST(Geometry, WorldPiecesRunOnAndStop) {
    const std::vector<GeoPosition> east = {{10, 179.5}, {10, 179.9}, {10, -179.9}, {10, -179.5}};
    const auto pieces = WorldPieces(east);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(pieces[0][2].x, ToWorld({10, 180.1}).x, 1e-12);
    EXPECT_GT(pieces[0][3].x, 1);
    View v(400, 300);  // centred just east of the antimeridian: one line through the middle
    v.setZoom(10);
    v.centreOn(GeoPosition{10, -179.95});
    const auto drawn = OnScreen(v, pieces[0], 0);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].front().x, 0);
    EXPECT_EQ(drawn[0].back().x, 400);
    const std::vector<GeoPosition> polar = {{84, 0},   {85, 0},   {86, 0},  {89.9, 0},
                                            {86, 180}, {85, 180}, {84, 180}};
    const auto sides = WorldPieces(polar);  // over the pole: each side apart, never joined
    ASSERT_EQ(sides.size(), 2u);
    EXPECT_EQ(sides[0].size(), 2u);
    EXPECT_NEAR(sides[1].front().x, 1, 1e-12);
    const std::vector<GeoPosition> broken = {{1, 1}, {1, 2}, {NAN, 3}, {1, 4}, {1, 5}, {1, 6}};
    ASSERT_EQ(WorldPieces(broken).size(), 2u);
    EXPECT_EQ(WorldPieces(broken)[1].size(), 3u);
    // A step of a quarter turn or more in longitude is a jump, not a path.
    const std::vector<GeoPosition> steps = {{0, 0}, {0, 89.9}, {0, 179.8}, {0, -89.9}};
    ASSERT_EQ(WorldPieces(steps).size(), 1u);
    EXPECT_EQ(WorldPieces(steps)[0].size(), 3u);
}

// A click picks the nearest line within reach, the later of two as near; the track breaks
// where the GPS fell silent.
TEST(Geometry, ClickAndTrackGaps) {
    const std::vector<Drawn> drawn = {
        {7, {{0, 0}, {100, 0}}},
        {8, {{0, 10}, {100, 10}}},
        {9, {{0, 10}, {100, 10}}},
        {10, {{200, 0}, {200, 0}}}};  // a line of no length is a point
    EXPECT_EQ(Nearest(drawn, {50, 3}, 6), 7u);
    EXPECT_EQ(Nearest(drawn, {50, 7}, 6), 9u);
    EXPECT_EQ(Nearest(drawn, {50, 25}, 6), std::nullopt);
    EXPECT_EQ(Nearest(drawn, {105, 0}, 6), 7u);
    EXPECT_EQ(Nearest(drawn, {203, 4}, 6), 10u);
    std::deque<PositionShown> track;
    for (const std::int64_t t : {0, 1000, 2000, 30000, 31000, 90000}) {
        track.push_back({{t, {}}, {1, static_cast<double>(t) / 1000}});
    }
    const auto stretches = SplitAtGaps(track, 15000);
    ASSERT_EQ(stretches.size(), 3u);
    EXPECT_EQ(stretches[0].size(), 3u);
    EXPECT_EQ(stretches[1].front().longitude, 30);
    EXPECT_EQ(stretches[2].size(), 1u);
}

TEST(Scales, RoundDistancesAndLooks) {
    const std::tuple<double, double, double> rounds[] = {
        {1, 1, 1}, {1.9, 1, 2}, {2, 2, 2},          {4.99, 2, 5},
        {5, 5, 5}, {7, 5, 10},  {0.03, 0.02, 0.05}, {123456, 100000, 200000}};
    for (const auto& [x, down, up] : rounds) {
        EXPECT_DOUBLE_EQ(RoundDown125(x), down) << x;
        EXPECT_DOUBLE_EQ(RoundUp125(x), up) << x;
    }
    EXPECT_EQ(DistanceText(500), "500 m");
    EXPECT_EQ(DistanceText(2000), "2 km");
    EXPECT_EQ(DistanceText(2500000), "2500 km");
    const ScaleBar bar = ScaleBarFor(9.5, 140);  // 1330 m fit: 1 km, 105 pixels
    EXPECT_EQ(bar.text, "1 km");
    EXPECT_NEAR(bar.pixels, 1000 / 9.5, 1e-9);
    EXPECT_EQ(GridSpacing(9.5, 80), 1000);
    EXPECT_EQ(RingsFor(9.5, 90, 500).spacingMetres, 1000);
    EXPECT_EQ(RingsFor(9.5, 90, 500).count, 4);
    EXPECT_EQ(RingsFor(9.5, 90, 50).count, 1);
    // Stronger is brighter, so the night's red keeps the order; a line fades to a fifth.
    int last = 0;
    for (int signal = 25; signal <= 99; ++signal) {
        const Rgb c = SignalColour(signal);
        const int brightest = std::max({c.r, c.g, c.b});
        EXPECT_GE(brightest, last) << signal;
        last = brightest;
    }
    EXPECT_EQ(SignalColour(25), (Rgb{0, 30, 179}));  // the weakest a dim blue
    EXPECT_EQ(SignalColour(62), (Rgb{18, 217, 0}));
    EXPECT_EQ(SignalColour(99), kRed);
    EXPECT_DOUBLE_EQ(Fade(0, 600), 1);
    EXPECT_DOUBLE_EQ(Fade(300, 600), 0.6);
    EXPECT_DOUBLE_EQ(Fade(6000, 600), kOldest);
}

// The command line wins; Map= opens on exactly 1; a relative tile path counts from the settings
// folder; the place needs all four keys and a size.
TEST(MapOptions, ResolvedAndPlaced) {
    std::map<std::string, std::string> ini;
    const auto read = [&](const std::string& k) { return ini.count(k) ? ini.at(k) : ""; };
    EXPECT_EQ(ResolveMapOptions({}, read, "/s"), (MapOptions{false, ""}));
    ini = {{"Map=", "1"}, {"MapTiles=", "t/x.mbtiles"}};
    EXPECT_EQ(ResolveMapOptions({}, read, "/s"), (MapOptions{true, "/s/t/x.mbtiles"}));
    EXPECT_EQ(ResolveMapOptions({false, "/a"}, read, "/s"), (MapOptions{false, "/a"}));
    ini = {{"Map=", "2"}, {"MapTiles=", "/abs"}};
    EXPECT_EQ(ResolveMapOptions({}, read, "/s"), (MapOptions{false, "/abs"}));

    ini = {
        {"MapLeft=", "1500"}, {"MapTop=", "-30"}, {"MapWidth=", "12000"}, {"MapHeight=", "9000.4"}};
    EXPECT_EQ(ReadMapPlace(read), (MapPlace{1500, -30, 12000, 9000}));
    ini["MapWidth="] = "0";
    EXPECT_EQ(ReadMapPlace(read), std::nullopt);
    ini["MapWidth="] = "12000";
    ini.erase("MapTop=");
    EXPECT_EQ(ReadMapPlace(read), std::nullopt);
    EXPECT_EQ(MapPlaceValues({1, -2, 3, 4}), (std::array<std::string, 4>{"1", "-2", "3", "4"}));
    // The command line's spellings.
    EXPECT_EQ(ParseCommandLine({"--map", "--map-tiles", "a.mbtiles"}).options.map,
              (MapOptions{true, "a.mbtiles"}));
    EXPECT_EQ(ParseCommandLine({"--map=1"}).error, "option '--map' takes no value");
    EXPECT_EQ(ParseCommandLine({"--map-tiles"}).error, "option '--map-tiles' needs a PATH");
}

// Shapes are worked out a budget at a time and forgotten with their lines.
TEST(LineShapes, WorkedOutInTurnAndForgotten) {
    std::deque<fix::LineOfBearing> lines;
    for (std::uint64_t id = 1; id <= 5; ++id) {
        lines.push_back({id, {}, {52, 5}, 90.0 * static_cast<double>(id), {}, 50, "", "", false});
    }
    LineShapes shapes;
    EXPECT_FALSE(shapes.update(lines, 20000, 3));
    EXPECT_FALSE(shapes.of(3).empty());
    EXPECT_TRUE(shapes.of(4).empty());
    EXPECT_TRUE(shapes.update(lines, 20000, 3));
    const WorldPath& north = shapes.of(4).at(0);  // 360 degrees: due north, up the meridian
    EXPECT_EQ(north.size(), static_cast<std::size_t>(LineShapes::kStretches) + 1);
    EXPECT_NEAR(north.back().x, north.front().x, 1e-12);
    EXPECT_NEAR(ToGeo(north.back()).latitude - 52, 20000 / 111250.0, 0.002);
    lines.pop_front();
    shapes.update(lines, 20000, 0);
    EXPECT_TRUE(shapes.of(1).empty());
    fix::FixResult noFix;
    EXPECT_EQ(LineLength(lines, noFix), kShortestLine);
}

// The fix and a line in words, in UTF-8: a refusal's reason, the ellipses, a line by hand.
TEST(Describe, FixAndLine) {
    fix::FixResult refused;
    refused.refusal = fix::Refusal::NearlyParallel;
    EXPECT_EQ(FixSummary(refused), "No fix: " + std::string(fix::RefusalText(refused.refusal)));
    const fix::FixResult f{fix::Refusal::None,
                           {-33.5, 151.25},
                           {0.5, 1234, 456, 7.6},
                           {0.95, 2950, 1100, 7.6},
                           {},
                           4.25,
                           true,
                           false,
                           60,
                           58,
                           57,
                           {}};
    EXPECT_EQ(FixSummary(f),
              "Fix 33\u00B0 30.0000' S  151\u00B0 15.0000' E\nhalf-axes 50 %: 1.2 km x 456 m at "
              "008\u00B0, 95 %: 3.0 km x 1.1 km at 008\u00B0\n57 of 60 bearings, sigma 4.2\u00B0 "
              "estimated");
    const fix::LineOfBearing manual{3,
                                    {0, {2024, 5, 1, 9, 8, 7, 0}},
                                    {1, 2},
                                    7.25,
                                    fix::HeadingSource::Manual,
                                    0,
                                    "",
                                    "team B",
                                    true};
    EXPECT_EQ(LineSummary(manual, nullptr),
              "09:08:07  007.2\u00B0 true  by hand: team B  left out");
    const fix::BearingVerdict wild{-12.34, false};
    fix::LineOfBearing heard = manual;
    heard.heading = fix::HeadingSource::Compass;
    heard.signal = 57;
    heard.excluded = false;
    EXPECT_EQ(LineSummary(heard, &wild),
              "09:08:07  007.2\u00B0 true  signal 57  residual -12.3\u00B0  judged wild");
}

}  // namespace
}  // namespace kestrova::testing
