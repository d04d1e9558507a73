// Virtual ticks against the 2 ms poll: the same timed input must give the same log of display
// calls, diagnostic words and replies, each at the same moment.
//
// Input: records of [timing byte][length byte][that many stream bytes]. The timing byte's top
// two bits choose the gap before the bytes arrive: 0, (low 6 bits) ms; 1, 30 ticks (60 ms)
// give or take 32 ms; 2, the link-loss time (2060 ms) give or take 32; 3, a line event after
// (low 6 bits) ms instead of bytes.

#include "fuzz/FuzzSupport.h"
#include "tests/fakes/StationRig.h"

namespace {

using kestrova::testing::Poll;
using kestrova::testing::StationRig;

constexpr std::size_t kMaxRecords = 400;
constexpr long kGapBase[] = {0, 60 - 32, 2060 - 32, 0};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    StationRig ticks(Poll::Timer4), wake(Poll::VirtualTicks);
    ticks.timed();
    wake.timed();
    long t = 1;
    std::size_t i = 0;
    for (std::size_t records = 0; i + 1 < size && records < kMaxRecords; ++records) {
        const std::uint8_t timing = data[i];
        const std::size_t length = std::min<std::size_t>(data[i + 1], size - i - 2);
        i += 2;
        t += kGapBase[timing >> 6] + (timing & 0x3F);
        for (StationRig* rig : {&ticks, &wake}) {
            if (timing >> 6 == 3) {
                rig->lineEventAt(t);
            } else {
                rig->arriveAt(t, std::string(kestrova::fuzz::bytes(data + i, length)));
            }
        }
        i += timing >> 6 == 3 ? 0 : length;
    }
    const long end = (t + 8000) | 1;
    for (StationRig* rig : {&ticks, &wake}) {
        rig->start();
        rig->clock.advance(end);
    }
    FUZZ_CHECK(ticks.window.log == wake.window.log);
    wake.ticks.catchUp();
    FUZZ_CHECK(ticks.st.link.IdleTickCount == wake.st.link.IdleTickCount);
    FUZZ_CHECK(ticks.st.link.BusyTickCount == wake.st.link.BusyTickCount);
    return 0;
}
