#include <benchmark/benchmark.h>

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "fix/Geodesy.h"
#include "fix/LineStore.h"
#include "map/MapView.h"

namespace {

using namespace kestrova;

const GeoPosition kTx{52.03, 5.06};

// Lines `from` to `to` - 1 from a road past the transmitter, as the displays report them, a
// second apart, each with a position and the compass.
void fill(fix::LineStore& store, int from, int to) {
    for (int i = from; i < to; ++i) {
        const GeoPosition at = fix::Move({52.0, 4.99}, 80, 20.0 * i);
        const double bearing = fix::Look(at, kTx).azimuth + (i % 7 - 3) * 0.8;
        const auto tenths =
            static_cast<std::int16_t>(std::lround(fix::Wrap360(bearing) * 10) % 3600);
        store.bearingShown({{i * 1000LL, {}},
                            tenths,
                            true,
                            tenths,
                            0,
                            false,
                            static_cast<std::int16_t>(25 + i % 75),
                            "",
                            at});
    }
}

// A map of 800 x 600 on test tiles, centred on the fix, with its tiles read and its lines
// worked out, as it is between bearings.
struct Live {
    explicit Live(int lines) : store(settings(lines)) {
        const std::string cmd = std::string("python3 ") + KESTROVA_SOURCE_DIR +
                                "/tools/make-test-tiles.py --folder " +
                                dir.filePath("t").toStdString() +
                                " --around 52.03 5.06 --radius-km 10 --zooms 12-13 >/dev/null";
        if (std::system(cmd.c_str()) != 0) {
            std::abort();
        }
        fill(store, 0, lines);
        view.resize(800, 600);
        view.setTiles(map::OpenTiles(dir.filePath("t").toStdString()).source);
        map::View v(800, 600);
        v.setZoom(13);
        v.centreOn(kTx);
        view.setView(v);
        view.picture();
    }
    static fix::StoreSettings settings(int lines) {
        fix::StoreSettings s;
        s.maxCount = static_cast<std::size_t>(lines);
        s.maxAgeSeconds = 1e9;
        return s;
    }
    QTemporaryDir dir;
    fix::LineStore store;
    map::MapView view{store, [] { return std::int64_t{300000}; }};
    QImage target{800, 600, QImage::Format_ARGB32_Premultiplied};
};

// One repaint of the live map: the tile background as composed, the lines, track, fix and
// furniture drawn over it, as after the view or the lines' fading asks for one.
void BM_MapRepaintLinesOverTiles(benchmark::State& state) {
    Live live(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        live.view.render(&live.target);
        benchmark::DoNotOptimize(live.target.constBits());
    }
}
BENCHMARK(BM_MapRepaintLinesOverTiles)->Arg(300)->Arg(3000)->Unit(benchmark::kMillisecond);

// The same after each new bearing: the fix worked out again, the new line's geodesic too.
void BM_MapRepaintAfterANewBearing(benchmark::State& state) {
    Live live(300);
    int next = 300;
    for (auto _ : state) {
        state.PauseTiming();
        fill(live.store, next, next + 1);  // the oldest goes as the new one comes
        ++next;
        state.ResumeTiming();
        live.view.render(&live.target);
        benchmark::DoNotOptimize(live.target.constBits());
    }
}
BENCHMARK(BM_MapRepaintAfterANewBearing)->Unit(benchmark::kMillisecond);

}  // namespace
