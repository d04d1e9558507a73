// A bearing packet from the serial line to the needle's new value, with nothing painted.

#include <benchmark/benchmark.h>

#include <string>

#include "display/Bearing.h"
#include "display/Polar.h"
#include "tests/fakes/StationRig.h"

namespace kestrova {
namespace {

// The headless station as the window wires it, on a window that keeps no log.
struct Wiring : testing::StationRig {
    Wiring() {
        window.logging = false;
        st.status.BandIndex = 1;
        st.antenna.BandOffset[1] = -450;
    }
};

const std::string kPacket = "B30682100S42045P\r\n";

// One poll tick per packet over whole cycles of 50, so the readout, compass and meter work
// that rides on some packets is averaged in.
void BM_PacketLineToNeedle(benchmark::State& state) {
    Wiring w;
    w.line.incoming.reserve(64);
    w.st.link.RxBuffer.reserve(64);
    for (auto _ : state) {
        w.line.incoming.assign(kPacket);
        w.poll.Timer4_Timer();
        benchmark::DoNotOptimize(w.window.needle.value);
    }
    if (!w.st.link.RxBuffer.empty() || w.window.needle.value < 0) {
        state.SkipWithError("the packet did not reach the needle");
    }
}
BENCHMARK(BM_PacketLineToNeedle);

void BM_DrawLine(benchmark::State& state) {
    Wiring w;
    const BearingPacket packet = ParseBearingPacket(kPacket);
    for (auto _ : state) {
        DrawLine(w.st, packet);
        benchmark::DoNotOptimize(w.window.needle.value);
    }
}
BENCHMARK(BM_DrawLine);

void BM_DrawPolar(benchmark::State& state) {
    Wiring w;
    std::int16_t x = -100;
    for (auto _ : state) {
        Draw_Polar(w.st, x, 37, -450, false, 45, true);
        benchmark::DoNotOptimize(w.window.needle.value);
        x = static_cast<std::int16_t>(x == 100 ? -100 : x + 1);
    }
}
BENCHMARK(BM_DrawPolar);

void BM_DrawDigitalDOA(benchmark::State& state) {
    Wiring w;
    w.st.bearing.VectX = 50;
    w.st.bearing.VectY = 4;
    for (auto _ : state) {
        DrawDigitalDOA(w.st);
        benchmark::DoNotOptimize(w.st.bearing.DOA_Tenths);
    }
}
BENCHMARK(BM_DrawDigitalDOA);

}  // namespace
}  // namespace kestrova
