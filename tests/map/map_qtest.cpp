// The map window on rendered pixels: lines, the fix and its ellipse where the geometry puts
// them, a bearing left out, tiles from a folder and an MBTiles file, bad tiles, the night
// palette, no network, and its place kept in the settings. With KESTROVA_SCREENSHOTS set to a
// folder, the drive's pictures are saved there.

#include <gtest/gtest.h>

#include <GeographicLib/Geodesic.hpp>
#include <QDir>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QTemporaryDir>
#include <QWindow>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>

#include "fix/Geodesy.h"
#include "map/MapSession.h"
#include "map/MapWindow.h"
#include "tests/fakes/Program.h"
#include "widgets/Look.h"
#include "widgets/StatusLineWidget.h"

namespace kestrova::testing {
namespace {

using namespace kestrova::map;
const GeoPosition kTx{52.03, 5.06};  // the transmitter, inside the test tiles' area
const QColor kFix(255, 0, 150);

Stamp at(std::int64_t seconds) {
    return {
        seconds * 1000,
        {2024, 5, 1, 14, static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60), 0}};
}

// A bearing as the displays report it: compass heading 0, so the relative bearing is true.
BearingShown shown(std::int64_t seconds, const GeoPosition& from, double trueBearing, int signal) {
    const auto tenths =
        static_cast<std::int16_t>(std::lround(fix::Wrap360(trueBearing) * 10) % 3600);
    return {at(seconds), tenths, true, tenths, 0, false, static_cast<std::int16_t>(signal),
            "",          from};
}

// The tiles of tools/make-test-tiles.py around the transmitter, as a folder and as MBTiles.
struct Tiles {
    Tiles() {
        const std::string cmd = std::string("python3 ") + KESTROVA_SOURCE_DIR +
                                "/tools/make-test-tiles.py --folder " + folder() + " --mbtiles " +
                                mbtiles() +
                                " --around 52.03 5.06 --radius-km 6 --zooms 10-14 >/dev/null";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
    }
    std::string folder() const { return dir.filePath("tiles").toStdString(); }
    std::string mbtiles() const { return dir.filePath("tiles.mbtiles").toStdString(); }
    QTemporaryDir dir;
};

struct Map : ::testing::Test {
    Map() {
        window.resize(560, 480);
        window.show();
        spinFor(20);
    }
    MapView& view() { return window.map(); }
    // The map centred on `p` at zoom z, drawn.
    QImage draw(const GeoPosition& p, double z = 13) {
        View v(view().width(), view().height());
        v.setZoom(z);
        v.centreOn(p);
        view().setView(v);
        return view().picture();
    }
    QPointF on(const GeoPosition& p) {
        const ScreenPoint s = view().view().toScreen(ToWorld(p));
        return {s.x, s.y};
    }
    // Whether a pixel within `r` of `p` is one `hit` looks for.
    static bool near(const QImage& img, QPointF p, int r, const std::function<bool(QPoint)>& hit) {
        for (int dy = -r; dy <= r; ++dy) {
            for (int dx = -r; dx <= r; ++dx) {
                const QPoint q = p.toPoint() + QPoint(dx, dy);
                if (img.rect().contains(q) && hit(q)) {
                    return true;
                }
            }
        }
        return false;
    }
    // A click at `p`, the pointer moving there first.
    void click(QPointF p) {
        const QPointF global = view().mapToGlobal(p);
        for (const auto& [type, buttons] : {std::pair{QEvent::MouseMove, Qt::NoButton},
                                            {QEvent::MouseButtonPress, Qt::LeftButton},
                                            {QEvent::MouseButtonRelease, Qt::NoButton}}) {
            QMouseEvent e(type, p, global,
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
            QCoreApplication::sendEvent(&view(), &e);
        }
    }
    static std::optional<QPointF> centroid(const QImage& img, const QColor& c) {
        QPointF sum;
        int n = 0;
        for (int y = 0; y < img.height(); ++y) {
            for (int x = 0; x < img.width(); ++x) {
                if (img.pixelColor(x, y) == c) {
                    sum += QPointF(x, y);
                    ++n;
                }
            }
        }
        return n > 20 ? std::optional(sum / n) : std::nullopt;
    }

    fix::LineStore store{fix::StoreSettings{}};
    std::int64_t clock = 100;
    MapWindow window{store, [this] { return at(clock); }};
};

GeoPosition from(double azimuth, double metres) {
    return fix::Move(kTx, azimuth, metres);
}

// Lines along their geodesics, the fix on the crossing, its 50 % ellipse where its axes say.
TEST_F(Map, LinesFixAndEllipseWhereTheGeometryPutsThem) {
    const QImage empty = draw(kTx);
    const std::vector<GeoPosition> stations = {from(180, 2500), from(270, 3000), from(30, 3000)};
    for (const GeoPosition& s : stations) {
        store.bearingShown(shown(clock, s, fix::Look(s, kTx).azimuth, 70));
    }
    const QImage img = draw(kTx);
    const GeographicLib::Geodesic& g = GeographicLib::Geodesic::WGS84();
    for (const GeoPosition& s : stations) {
        const double azimuth = std::round(fix::Look(s, kTx).azimuth * 10) / 10;
        for (double m = 300; m < 2000; m += 250) {  // short of the fix's own drawing
            double lat = 0, lon = 0;
            g.Direct(s.latitude, s.longitude, azimuth, m, lat, lon);
            const QPointF p = on({lat, lon});
            if (p.y() < 80 || p.y() > img.height() - 40) {
                continue;  // under the words and the scale bar
            }
            EXPECT_TRUE(near(img, p, 1, [&](QPoint q) { return img.pixel(q) != empty.pixel(q); }))
                << m << " m from " << s.latitude;
            const QPointF side(std::cos(azimuth * M_PI / 180) * 7,
                               std::sin(azimuth * M_PI / 180) * 7);
            EXPECT_EQ(img.pixel((p + side).toPoint()), empty.pixel((p + side).toPoint()));
        }
    }
    const fix::FixResult& f = store.fix();
    ASSERT_TRUE(f.ok());
    const auto middle = centroid(img, kFix);
    ASSERT_TRUE(middle);
    EXPECT_LT(QLineF(*middle, on(kTx)).length(), 1.5);
    for (const double turn : {0, 90, 180, 270}) {
        const double axis =
            turn == 90 || turn == 270 ? f.ellipse50.semiMinorMetres : f.ellipse50.semiMajorMetres;
        double lat = 0, lon = 0;
        g.Direct(f.position.latitude, f.position.longitude, f.ellipse50.orientationDegrees + turn,
                 axis, lat, lon);
        EXPECT_TRUE(near(img, on({lat, lon}), 2, [&](QPoint q) {
            return img.pixelColor(q) == kFix;
        })) << turn;
    }
}

// A click picks a line; leaving it out moves the fix to where the others cross, and back.
TEST_F(Map, ALeftOutBearingChangesTheFix) {
    const GeoPosition south = from(180, 2500), west = from(270, 3000), off = from(40, 3000);
    store.bearingShown(shown(clock, south, fix::Look(south, kTx).azimuth, 60));
    store.bearingShown(shown(clock, west, fix::Look(west, kTx).azimuth, 60));
    store.bearingShown(shown(clock, off, fix::Look(off, kTx).azimuth + 6, 99));
    const QImage with = draw(kTx);
    const GeoPosition before = store.fix().position;
    ASSERT_GT(fix::Metres(before, kTx), 100);

    double lat = 0, lon = 0;
    GeographicLib::Geodesic::WGS84().Direct(off.latitude, off.longitude,
                                            fix::Look(off, kTx).azimuth + 6, 1500, lat, lon);
    click(on({lat, lon}));
    EXPECT_EQ(view().selected(), store.lines().back().id);
    EXPECT_TRUE(window.lineText().contains(QStringLiteral("signal 99")))
        << window.lineText().toStdString();

    window.toggleLeftOut();
    EXPECT_TRUE(store.lines().back().excluded);
    EXPECT_LT(fix::Metres(store.fix().position, kTx), 5);
    const QImage without = draw(kTx);
    EXPECT_LT(QLineF(*centroid(without, kFix), on(kTx)).length(), 1.5);
    EXPECT_GT(QLineF(*centroid(with, kFix), on(kTx)).length(), 3);
    window.toggleLeftOut();
    EXPECT_EQ(store.fix().position, before);
}

// Both kinds of tile set draw the same map, each tile where its address says, rows of the
// MBTiles file counted from the bottom; past the set's deepest zoom its tiles are enlarged.
TEST_F(Map, TilesFromAFolderAndAnMbtilesFileAlike) {
    const Tiles tiles;
    for (const auto& [z, tileZoom] : {std::pair{12.0, 12}, {16.0, 14}}) {
        window.setTiles(tiles.folder());
        const QImage fromFolder = draw(kTx, z);
        window.setTiles(tiles.mbtiles());
        const QImage fromFile = draw(kTx, z);
        EXPECT_EQ(fromFolder, fromFile) << z;
        const double n = 1 << tileZoom;
        const int x = static_cast<int>(ToWorld(kTx).x * n),
                  y = static_cast<int>(ToWorld(kTx).y * n);
        // The middle of the pattern's cell that holds the transmitter, away from its roads.
        const auto middle = [](double v) { return (std::floor(v * 4) + 0.5) / 4; };
        const QPointF p =
            on(ToGeo({middle(ToWorld(kTx).x * n) / n, middle(ToWorld(kTx).y * n) / n}));
        EXPECT_EQ(fromFile.pixelColor(p.toPoint()),
                  QColor(214 + 5 * (x % 8), 226 + 3 * (y % 8), 200))
            << z;
    }
    EXPECT_TRUE(window.status().isEmpty());
}

// Tiles that cannot be drawn: the grid is, and the status line and the report say why once.
TEST_F(Map, BadTilesLeaveTheGridAndSayWhy) {
    const Tiles tiles;
    const QString d = tiles.dir.path();
    std::ofstream(d.toStdString() + "/notes.txt") << "not tiles";
    QDir(d).mkdir(QStringLiteral("empty"));
    const auto sqlite = [&](const std::string& name, const std::string& sql) {
        const std::string cmd = "python3 -c \"import sqlite3; c = sqlite3.connect('" +
                                d.toStdString() + "/" + name + "'); c.executescript('" + sql +
                                "'); c.commit()\"";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
        return d.toStdString() + "/" + name;
    };
    std::filesystem::copy_file(tiles.mbtiles(), d.toStdString() + "/cut.mbtiles");
    std::filesystem::resize_file(d.toStdString() + "/cut.mbtiles", 6000);
    const std::vector<std::pair<std::string, std::string>> cases = {
        {d.toStdString() + "/none.mbtiles", "no such file or folder"},
        {d.toStdString() + "/notes.txt", "is neither a tile folder nor an MBTiles file"},
        {d.toStdString() + "/empty", "holds no z/x/y.png tiles"},
        {sqlite("plain.db", "create table a (b);"), "is not an MBTiles file"},
        {sqlite("vector.mbtiles",
                "create table metadata (name, value); insert into metadata values "
                "(\\\"format\\\", \\\"pbf\\\"); create table tiles (zoom_level, tile_column, "
                "tile_row, tile_data); insert into tiles values (1, 0, 0, zeroblob(1));"),
         "holds vector tiles"},
        {d.toStdString() + "/cut.mbtiles", "is damaged"},
    };
    const QImage grid = draw(kTx);
    for (const auto& [path, why] : cases) {
        int reports = 0;
        window.report = [&](std::string_view) { ++reports; };
        window.setTiles(path);
        EXPECT_TRUE(window.status().contains(QString::fromStdString(why)))
            << path << ": " << window.status().toStdString();
        EXPECT_EQ(reports, 1) << path;
        EXPECT_EQ(draw(kTx), grid) << path;
    }
    // A damaged tile among good ones: the others drawn, the damage said once.
    const int x = static_cast<int>(ToWorld(kTx).x * 4096),
              y = static_cast<int>(ToWorld(kTx).y * 4096);
    const std::string broken = "12/" + std::to_string(x) + "/" + std::to_string(y);
    std::ofstream(tiles.folder() + "/" + broken + ".png", std::ios::trunc) << "broken";
    window.setTiles(tiles.folder());
    const QImage damaged = draw(kTx, 12);
    EXPECT_TRUE(window.status().contains(QString::fromStdString(broken)))
        << window.status().toStdString();
    EXPECT_EQ(damaged.pixelColor(on(kTx).toPoint()).blue(), 200);  // a coarser tile stands in
    window.map().onProblem = [](const std::string& p) { ADD_FAILURE() << "said again: " << p; };
    draw(kTx, 12);
}

// A drive past the transmitter as the displays report it: a position a second along a road
// that turns, GPS lost for half a minute in a cutting, a bearing every two seconds by the
// compass with 4 degrees of noise and one in ten wild. Returns the last moment.
std::int64_t drive(fix::LineStore& store) {
    std::mt19937 random(7);
    std::normal_distribution<double> noise(0, 4);
    std::uniform_real_distribution<double> wild(0, 360);
    GeoPosition here{52.000, 4.985};
    std::int64_t t = 0;
    for (; t <= 420; ++t) {
        const double heading = t < 300 ? 80 : 20;
        here = fix::Move(here, heading, 14);
        const bool gps = t < 200 || t > 230;
        if (gps) {
            store.positionShown({at(t), here});
        } else if (t == 205) {
            store.positionLost();
        }
        if (t % 2 == 0) {
            const double truth = fix::Look(here, kTx).azimuth;
            const double measured = t % 20 == 10 ? wild(random) : truth + noise(random);
            const int signal =
                std::clamp(99 - static_cast<int>(fix::Metres(here, kTx) / 120), 25, 99);
            BearingShown b = shown(t, here, measured - std::round(heading), signal);
            b.tenths = static_cast<std::int16_t>(std::lround(fix::Wrap360(measured) * 10) % 3600);
            b.compassHeading = static_cast<std::int16_t>(std::round(heading));
            if (!gps && t > 205) {
                b.position.reset();
            }
            store.bearingShown(b);
        }
    }
    return t;
}

// The number of the process's sockets that are network ones (TCP, UDP, raw; any family): the
// kernel's tables of those, by inode, against the process's open files.
int networkSockets() {
    std::string tables;
    for (const char* t : {"tcp", "tcp6", "udp", "udp6", "raw", "raw6"}) {
        std::ifstream in(std::string("/proc/self/net/") + t);
        tables += std::string(std::istreambuf_iterator<char>(in), {});
    }
    int n = 0;
    for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
        std::error_code ec;
        const std::string link = std::filesystem::read_symlink(fd.path(), ec).string();
        const std::string inode = " " + link.substr(std::min<std::size_t>(8, link.size()));
        n += link.starts_with("socket:[") &&
             tables.find(inode.substr(0, inode.size() - 1) + " ") != std::string::npos;
    }
    return n;
}

// The drive by day on the grid and on tiles, and by night: the track breaks where the GPS did,
// the night has no green or blue, and no network connection is ever opened.
TEST_F(Map, DriveByDayAndNight) {
    const Tiles tiles;
    clock = drive(store);
    window.resize(800, 600);
    EXPECT_EQ(store.counts().noPosition, 13);  // the cutting's bearings once the GPS blanked
    const char* shots = std::getenv("KESTROVA_SCREENSHOTS");
    const auto shot = [&](const char* name, const std::string& tilePath, Palette palette) {
        window.setTiles(tilePath);
        window.setLook({palette, 1});
        EXPECT_TRUE(view().centreOnFix());
        spinFor(300);  // the live tick and the tiles' frames
        const QImage img = window.grab().toImage();
        if (shots != nullptr) {
            img.save(QString::fromUtf8(shots) + "/" + name + ".png");
        }
        return img;
    };
    shot("map-grid", "", Palette::Day);
    const QImage day = view().picture();
    const auto track = store.track();
    const auto after = std::find_if(track.begin(), track.end(), [](const PositionShown& p) {
        return p.time.steadyMs > 200000;
    });
    const QPointF a = on(std::prev(after)->position), b = on(after->position);
    const QColor trackColour(0, 110, 255);
    EXPECT_TRUE(Map::near(day, a - (b - a) * 0.02, 1,
                          [&](QPoint q) { return day.pixelColor(q) == trackColour; }));
    EXPECT_FALSE(
        Map::near(day, (a + b) / 2, 2, [&](QPoint q) { return day.pixelColor(q) == trackColour; }));
    const fix::LineOfBearing& picked = store.lines()[120];
    double lat = 0, lon = 0;
    GeographicLib::Geodesic::WGS84().Direct(picked.station.latitude, picked.station.longitude,
                                            picked.trueBearing, 1200, lat, lon);
    click(on({lat, lon}));  // for the picture: the line's words and the pointer's position
    shot("map-tiles", tiles.folder(), Palette::Day);
    const QImage night = shot("map-night", tiles.mbtiles(), Palette::Night);
    int bright = 0;
    for (int y = 0; y < night.height(); ++y) {
        for (int x = 0; x < night.width(); ++x) {
            const QColor c = night.pixelColor(x, y);
            bright += c.green() > kNightCeiling || c.blue() > kNightCeiling;
        }
    }
    EXPECT_EQ(bright, 0);
    EXPECT_EQ(networkSockets(), 0);
    // The exports by the name's ending, and the picture as the map shows it.
    for (const auto& [name, start, kind] : {std::tuple{"a.geojson", "{", "FeatureCollection"},
                                            {"a.kml", "<?xml", "<kml"},
                                            {"a.gpx", "<?xml", "<gpx"}}) {
        const QString path = tiles.dir.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(window.exportTo(path));
        std::ifstream in(path.toStdString());
        const std::string text{std::istreambuf_iterator<char>(in), {}};
        EXPECT_TRUE(text.starts_with(start) && text.find(kind) != std::string::npos) << name;
    }
    EXPECT_FALSE(window.exportTo(tiles.dir.filePath(QStringLiteral("no/such/a.kml"))));
    ASSERT_TRUE(window.savePicture(tiles.dir.filePath(QStringLiteral("map.png"))));
    EXPECT_EQ(QImage(tiles.dir.filePath(QStringLiteral("map.png"))).size(), view().size());
}

// The program opens the map at start-up with Map=1 where the settings put it and keeps its
// place there on closing; with the keys missing it opens from the status line's menu or the
// M key and leaves the settings file as it was.
TEST(MapSession, OpensPlacedAndKeepsItsPlace) {
    Pty pty;
    const ProgramFolder placed{pty.path, "",
                               "Map=1\r\nMapLeft=1500\r\nMapTop=1200\r\n"
                               "MapWidth=9000\r\nMapHeight=7500\r\n"};
    auto app = placed.start();
    MapWindow* w = app->map()->window();
    ASSERT_TRUE(w != nullptr && w->isVisible());
    // The main window's own: closing the main window ends the program, the map open or not.
    EXPECT_EQ(w->windowHandle()->transientParent(), app->window().windowHandle());
    const double twips = 1440.0 / w->logicalDpiY();
    EXPECT_EQ(w->size(), QSize(static_cast<int>(std::lround(9000 / twips)),
                               static_cast<int>(std::lround(7500 / twips))));
    w->resize(640, 480);
    w->close();
    const std::string ini = placed.read("Kestrova.ini");
    EXPECT_NE(ini.find("MapWidth=" + std::to_string(std::lround(640 * twips)) + "\r\n"),
              std::string::npos)
        << ini;
    EXPECT_EQ(ini, placed.read("Kestrova.bak"));
    app.reset();

    Pty other;
    const ProgramFolder plain{other.path};
    const std::string before = plain.read("Kestrova.ini");
    app = plain.start();
    EXPECT_EQ(app->map()->window(), nullptr);
    app->window().statusLine()->onMenu(QPoint(10, 10));
    auto* menu = app->window().findChild<QMenu*>();
    ASSERT_NE(menu, nullptr);
    menu->actions().at(0)->trigger();
    ASSERT_NE(app->map()->window(), nullptr);
    app->map()->window()->close();
    for (auto* key : app->window().findChildren<QShortcut*>()) {
        if (key->key() == QKeySequence(Qt::Key_M)) {
            key->activated();
        }
    }
    EXPECT_TRUE(app->map()->window()->isVisible());
    app->map()->window()->close();
    EXPECT_EQ(plain.read("Kestrova.ini"), before);
    EXPECT_EQ(app->window().text(El::StatusDisp).find("Err"), std::string::npos);
}

}  // namespace
}  // namespace kestrova::testing
