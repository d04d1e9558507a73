// A bearing packet from the serial line to the needle's new value, with nothing painted.

#include <benchmark/benchmark.h>

#include <string>

#include "app/StationDecoders.h"
#include "display/Bearing.h"
#include "display/Polar.h"
#include "link/Dispatch.h"
#include "link/RxPoll.h"
#include "link/Supervision.h"
#include "status/MagTable.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"

namespace kestrova {
namespace {

// Keeps only the needle; every other element is dropped.
class NullDisplay : public Display {
  public:
    void setText(El, std::string_view) override {}
    void setTextColour(El, Rgb) override {}
    void setVisible(El, bool) override {}
    bool loadPicture(El, const std::string&) override { return true; }
    void setLine(El, int, int, int, int, Rgb) override {}
    void setNeedleValue(double v) override { needle = v; }
    void setNeedleColour(Rgb) override {}
    void setNeedleStrength(double) override {}
    double twipsPerPixelY() const override { return 15.0; }
    double needle = -1;
};

// The headless station as the window wires it, on a null display.
struct Wiring {
    Wiring() {
        line.open();
        CreateTables(st);
        st.BandIndex = 1;
        st.BandOffset[1] = -450;
    }
    testing::FakeSerialLine line;
    NullDisplay display;
    Station st{display, line};
    StationDecoders decoders{st};
    testing::FakeClock clock;
    testing::FakeTimer& Timer1 = clock.make(2000);
    testing::FakeTimer& GPSTimeOut = clock.make(5000);
    Supervision supervision{st, decoders, Timer1, GPSTimeOut};
    Dispatch dispatch{st, decoders, GPSTimeOut};
    RxPoll poll{st, dispatch, supervision};
};

const std::string kPacket = "B30682100S42045P\r\n";

// One poll tick per packet over whole cycles of 50, so the readout, compass and meter work
// that rides on some packets is averaged in.
void BM_PacketLineToNeedle(benchmark::State& state) {
    Wiring w;
    w.line.incoming.reserve(64);
    w.st.RxBuffer.reserve(64);
    for (auto _ : state) {
        w.line.incoming.assign(kPacket);
        w.poll.Timer4_Timer();
        benchmark::DoNotOptimize(w.display.needle);
    }
    if (!w.st.RxBuffer.empty() || w.display.needle < 0) {
        state.SkipWithError("the packet did not reach the needle");
    }
}
BENCHMARK(BM_PacketLineToNeedle);

void BM_DrawLine(benchmark::State& state) {
    Wiring w;
    w.st.RxBuffer = kPacket;
    for (auto _ : state) {
        DrawLine(w.st);
        benchmark::DoNotOptimize(w.display.needle);
    }
}
BENCHMARK(BM_DrawLine);

void BM_DrawPolar(benchmark::State& state) {
    Wiring w;
    std::int16_t x = -100;
    for (auto _ : state) {
        Draw_Polar(w.st, x, 37, -450, false, 45, true);
        benchmark::DoNotOptimize(w.display.needle);
        x = static_cast<std::int16_t>(x == 100 ? -100 : x + 1);
    }
}
BENCHMARK(BM_DrawPolar);

void BM_DrawDigitalDOA(benchmark::State& state) {
    Wiring w;
    w.st.VectX = 50;
    w.st.VectY = 4;
    for (auto _ : state) {
        DrawDigitalDOA(w.st);
        benchmark::DoNotOptimize(w.st.DOA_Tenths);
    }
}
BENCHMARK(BM_DrawDigitalDOA);

}  // namespace
}  // namespace kestrova
