// The receive path end to end: arbitrary bytes arrive in arbitrary chunks between poll
// ticks, line events and timer ticks, and go through the real decoders.
//
// Input: byte 0 gives n (0..32), the next n bytes are the schedule, the rest is the stream.
// The schedule is used round-robin; each of its bytes is one step, top two bits the kind:
//   0: put the next (low 6 bits) stream bytes on the line, then one poll tick
//   1: put the next 32 x (low 6 bits) stream bytes (at most 2016) on the line, one poll tick
//   2: (low 6 bits + 1) poll ticks with nothing new
//   3: low 2 bits: line event, Timer1 tick, GPS time-out tick or stay-alive tick
// Once the stream is used up, poll ticks drain what is left.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/StationDecoders.h"
#include "fuzz/FuzzSupport.h"
#include "link/Dispatch.h"
#include "link/RxPoll.h"
#include "link/Supervision.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"

namespace {

using namespace kestrova;
using kestrova::fuzz::ProbeDisplay;

constexpr std::size_t kOverflowLength = 650;
constexpr std::size_t kOverflowEvery = 50;
constexpr std::size_t kEventLength = 500;
constexpr std::size_t kMaxWork = 5000;  // ticks and events per input
constexpr std::size_t kDrainTicks = 300;

struct Rig {
    Rig() {
        line.open();
        line.onComm = [this] { poll.Comm1_OnComm(); };
        fuzz::startUp(st, display);
    }

    testing::FakeSerialLine line;
    ProbeDisplay display;
    Station st{display, line};
    StationDecoders decoders{st};
    testing::FakeClock clock;
    testing::FakeTimer& Timer1 = clock.make(2000);
    testing::FakeTimer& GPSTimeOut = clock.make(5000);
    Supervision supervision{st, decoders, Timer1, GPSTimeOut};
    Dispatch dispatch{st, decoders, GPSTimeOut};
    RxPoll poll{st, dispatch, supervision};

    std::size_t maxRead = 0;
};

// What holds after every step, whatever came in.
void checkState(Rig& r) {
    const Station& st = r.st;
    FUZZ_CHECK(st.status.BandIndex <= 15);
    FUZZ_CHECK(fuzz::antennaEdgesUntouched(st));
    FUZZ_CHECK(st.link.BusyTickCount < kOverflowEvery);
    FUZZ_CHECK(st.link.BPacketCount < 50);
    FUZZ_CHECK(st.link.IdleTickCount < 30);
    FUZZ_CHECK(st.link.LinkState >= 0 && st.link.LinkState <= 2);
    FUZZ_CHECK(st.link.GPSTimedOut == 0 || st.link.GPSTimedOut == 1);
    FUZZ_CHECK(st.bearing.SignalMag >= 0 && st.bearing.SignalMag <= 99);
    FUZZ_CHECK(st.bearing.DOA_Tenths >= 0 && st.bearing.DOA_Tenths <= 3599);
    FUZZ_CHECK((st.bearing.CompassHeading >= 0 && st.bearing.CompassHeading <= 359) ||
               st.bearing.CompassHeading == 999);
    FUZZ_CHECK(st.bearing.RelBearMode == (st.bearing.CompassHeading == 999));
    FUZZ_CHECK(st.bearing.CompassFlag == 'P' || st.bearing.CompassFlag == 'N');

    const ProbeDisplay& d = r.display;
    if (d.sets(El::DOA) > 0) {
        FUZZ_CHECK(fuzz::wellFormedDOA(d.text(El::DOA)));
    }
    const std::string& diag = d.text(El::Textbox2);
    FUZZ_CHECK(diag.empty() || diag == "S.Over." || diag == "Pkt Err" || diag == "Pkt Corr");
    FUZZ_CHECK(d.text(El::Banner_Ant_Band) == st.antenna.BandText[st.status.BandIndex] ||
               d.sets(El::Banner_Ant_Band) == 0);
    FUZZ_CHECK(d.isVisible(El::FrameDFOff) == !st.status.DF_Enabled);
    if (d.needleSets > 0) {
        FUZZ_CHECK(fuzz::saneNeedle(d));
        // Valid headings and 16-bit offsets keep the needle on the dial.
        FUZZ_CHECK(d.needleValue > -0.1 && d.needleValue < 360.1);
    }
    FUZZ_CHECK(fuzz::onlyKnownReplies(r.line.written));
    r.line.written.clear();
}

void tick(Rig& r, std::size_t read) {
    r.maxRead = std::max(r.maxRead, read);
    const std::size_t before = r.st.link.RxBuffer.size();
    r.poll.Timer4_Timer();
    const std::size_t after = r.st.link.RxBuffer.size();
    // Only the read makes the buffer grow.
    FUZZ_CHECK(after <= before + read);
    // Between two overflow checks at most 50 reads arrive, and a check leaves no more than
    // 650 characters plus what the last 50 reads brought (it keeps whole lines up to the
    // first line end past position 99, and such a line end predates those reads unless the
    // buffer had been consumed past it). So: after a check tick 650 + 50R, otherwise
    // 650 + 99R, for reads of at most R characters.
    FUZZ_CHECK(after <= kOverflowLength + 99 * r.maxRead);
    const bool busy = r.st.link.IdleTickCount == 0;
    if (busy && r.st.link.BusyTickCount == 0) {
        FUZZ_CHECK(after <= kOverflowLength + 50 * r.maxRead);
    }
    checkState(r);
}

void lineEvent(Rig& r) {
    const std::size_t before = r.st.link.RxBuffer.size();
    r.line.raiseEvent();
    const std::size_t after = r.st.link.RxBuffer.size();
    FUZZ_CHECK(r.display.text(El::Textbox2) == "S.Over.");
    if (before > kEventLength) {
        FUZZ_CHECK(after < before);
    } else {
        FUZZ_CHECK(after == before);
    }
    checkState(r);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t n = std::min<std::size_t>(data[0] % 33, size - 1);
    std::vector<std::uint8_t> schedule(data + 1, data + 1 + n);
    if (schedule.empty()) {
        schedule.push_back(0x3F);  // 63 bytes per tick
    }
    const std::string_view stream(reinterpret_cast<const char*>(data + 1 + n), size - 1 - n);

    Rig r;
    std::size_t at = 0;
    std::size_t work = 0;
    for (std::size_t step = 0; work < kMaxWork && at < stream.size(); ++step, ++work) {
        const std::uint8_t s = schedule[step % schedule.size()];
        const std::size_t p = s & 0x3F;
        switch (s >> 6) {
            case 0:
            case 1: {
                const std::size_t want = (s >> 6) == 0 ? p : 32 * p;
                const std::size_t take = std::min(want, stream.size() - at);
                r.line.incoming.append(stream.substr(at, take));
                at += take;
                tick(r, take);
                break;
            }
            case 2:
                for (std::size_t i = 0; i <= p; ++i, ++work) {
                    tick(r, 0);
                }
                break;
            default:
                switch (p & 3) {
                    case 0:
                        lineEvent(r);
                        break;
                    case 1:
                        if (r.Timer1.isRunning()) {
                            const bool lost = r.st.link.LinkState == 0;
                            r.supervision.Timer1_Timer();
                            if (lost) {
                                FUZZ_CHECK(r.st.link.LinkState == 1);
                                FUZZ_CHECK(r.display.needleValue == 360.0 &&
                                           r.display.needleStrength == 0.0);
                                FUZZ_CHECK(r.display.text(El::DOA) == " - - -");
                            }
                            checkState(r);
                        }
                        break;
                    case 2:
                        if (r.GPSTimeOut.isRunning()) {
                            r.supervision.GPSTimeOut_Timer();
                            FUZZ_CHECK(r.st.link.GPSTimedOut == 1);
                            checkState(r);
                        }
                        break;
                    default:
                        r.supervision.StayAliveTmr_Timer();
                        FUZZ_CHECK(r.line.written == std::string_view("\0", 1));
                        checkState(r);
                        break;
                }
                break;
        }
    }
    for (std::size_t i = 0; i < kDrainTicks && !r.st.link.RxBuffer.empty(); ++i) {
        tick(r, 0);
    }
    return 0;
}
