// Virtual ticks against the 2 ms poll: the same timed input must give the same log of display
// calls, diagnostic words and replies, each at the same moment.
//
// Input: records of [timing byte][length byte][that many stream bytes]. The timing byte's top
// two bits choose the gap before the bytes arrive: 0, (low 6 bits) ms; 1, 30 ticks (60 ms)
// give or take 32 ms; 2, the link-loss time (2060 ms) give or take 32; 3, a line event after
// (low 6 bits) ms instead of bytes.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "tests/fakes/StationRig.h"

namespace {

using kestrova::testing::Poll;
using kestrova::testing::StationRig;

constexpr std::size_t kMaxRecords = 400;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StationRig ticks(Poll::Timer4), wake(Poll::VirtualTicks);
    ticks.timed();
    wake.timed();
    long t = 1;
    std::size_t i = 0;
    for (std::size_t records = 0; i + 1 < size && records < kMaxRecords; ++records) {
        const std::uint8_t timing = data[i];
        const std::size_t length = data[i + 1];
        i += 2;
        const long low = timing & 0x3F;
        switch (timing >> 6) {
            case 0:
                t += low;
                break;
            case 1:
                t += 60 - 32 + low;
                break;
            case 2:
                t += 2060 - 32 + low;
                break;
            default:
                t += low;
                ticks.lineEventAt(t);
                wake.lineEventAt(t);
                continue;
        }
        const std::size_t n = length < size - i ? length : size - i;
        const std::string bytes(reinterpret_cast<const char*>(data + i), n);
        i += n;
        ticks.arriveAt(t, bytes);
        wake.arriveAt(t, bytes);
    }
    ticks.start();
    wake.start();
    const long end = (t + 8000) | 1;
    ticks.clock.advance(end);
    wake.clock.advance(end);
    FUZZ_CHECK(ticks.window.log == wake.window.log);
    wake.ticks.catchUp();
    FUZZ_CHECK(ticks.st.link.IdleTickCount == wake.st.link.IdleTickCount);
    FUZZ_CHECK(ticks.st.link.BusyTickCount == wake.st.link.BusyTickCount);
    return 0;
}
