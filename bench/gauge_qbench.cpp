#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "widgets/NeedleGauge.h"
#include "widgets/Pictures.h"

namespace {

// One repaint of the bearing gauge after its needle moved, as a bearing packet causes.
void BM_GaugeRepaintAfterNeedleMove(benchmark::State& state) {
    kestrova::NeedleGauge gauge;
    gauge.setFacePainter(&kestrova::pictures::paintGaugeFace);
    gauge.resize(212, 212);
    gauge.setStrength(0.8);
    QImage target(gauge.size(), QImage::Format_ARGB32_Premultiplied);
    gauge.render(&target);  // the face is cached once, as on the first show
    double value = 0;
    for (auto _ : state) {
        value = value >= 359 ? 0 : value + 7.3;
        gauge.setNeedleValue(value);
        gauge.render(&target);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_GaugeRepaintAfterNeedleMove)->Unit(benchmark::kMicrosecond);

// For comparison: what every repaint would cost without the cached face.
void BM_GaugeFaceDrawing(benchmark::State& state) {
    QImage target(212, 212, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        QPainter p(&target);
        kestrova::pictures::paintGaugeFace(p, 212);
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_GaugeFaceDrawing)->Unit(benchmark::kMicrosecond);

}  // namespace
