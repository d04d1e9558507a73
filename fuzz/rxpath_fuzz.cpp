// The receive path end to end: arbitrary bytes arrive in arbitrary chunks between poll
// ticks, line events and timer ticks, and go through the real decoders.
//
// Input: byte 0 gives n (0..32), the next n bytes are the schedule, the rest is the stream.
// The schedule is used round-robin; each of its bytes is one step, top two bits the kind:
//   0: put the next (low 6 bits) stream bytes on the line, then one poll tick
//   1: put the next 32 x (low 6 bits) stream bytes (at most 2016) on the line, one poll tick
//   2: (low 6 bits + 1) poll ticks with nothing new
//   3: low 2 bits: line event, Timer1 tick, GPS time-out tick or stay-alive tick
// The steps stop after 2000, when the stream is used up, or after a round of the schedule
// that read nothing; then poll ticks drain what is left. Ticks with nothing new run one by
// one only while a packet waits; the rest are accounted for at once, as virtual ticks do (the
// ticks harness holds the two to be the same).

#include <utility>

#include "fuzz/FuzzSupport.h"

namespace {

using namespace kestrova;

constexpr std::size_t kOverflowLength = 650;
constexpr std::size_t kEventLength = 500;
constexpr std::size_t kMaxSteps = 2000;
constexpr long long kDrainTicks = 300;

struct Rig : fuzz::Probe {
    std::size_t maxRead = 0;
    int drawn = -1;  // display calls at the last full check
};

// What holds after every step, whatever came in. The banners and the diagnostic box are
// looked at again only when something was drawn.
void checkState(Rig& r) {
    const LinkRecord& link = r.st.link;
    FUZZ_CHECK(link.BusyTickCount < 50 && link.BPacketCount < 50 && link.IdleTickCount < 30);
    // A tick handles one packet at most, so it gives one reply at most.
    const std::string reply = r.line.takeWritten();
    FUZZ_CHECK(reply.empty() || reply == "\r\n" || reply == "\a\r\n");
    fuzz::checkBearing(r);
    FUZZ_CHECK(r.st.status.BandIndex <= 15 && fuzz::antennaEdgesUntouched(r.st.antenna));
    if (r.window.calls == r.drawn) {
        return;
    }
    r.drawn = r.window.calls;
    const testing::FakeWindow& d = r.window;
    const std::string& diag = d.at(El::Textbox2).text;
    FUZZ_CHECK(diag.empty() || diag == "S.Over." || diag == "Pkt Err" || diag == "Pkt Corr");
    FUZZ_CHECK(d.at(El::Banner_Ant_Band).text == r.st.antenna.BandText[r.st.status.BandIndex]);
    FUZZ_CHECK(d.at(El::FrameDFOff).visible == !r.st.status.DF_Enabled);
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
    const bool checked = r.st.link.IdleTickCount == 0 && r.st.link.BusyTickCount == 0;
    FUZZ_CHECK(!checked || after <= kOverflowLength + 50 * r.maxRead);
    checkState(r);
}

// n ticks with nothing new.
void idle(Rig& r, long long n) {
    for (; n > 0 && r.poll.hasWork(); --n) {
        tick(r, 0);
    }
    r.poll.quietTicks(n);
    checkState(r);
}

void timerTick(Rig& r, std::size_t which) {
    if (which == 0) {
        const std::size_t before = r.st.link.RxBuffer.size();
        r.line.raiseEvent();
        FUZZ_CHECK(r.window.at(El::Textbox2).text == "S.Over.");
        const std::size_t after = r.st.link.RxBuffer.size();
        FUZZ_CHECK(before > kEventLength ? after < before : after == before);
    } else if (which == 1 && r.Timer1.isRunning()) {
        const bool stopped = r.st.link.LinkState == kLinkStopped;
        r.supervision.Timer1_Timer();
        // The link is lost: the needle parks at the top and the readout blanks.
        FUZZ_CHECK(!stopped ||
                   (r.st.link.LinkState == kLinkBlanked && r.window.needle.value == 360.0 &&
                    r.window.needle.strength == 0.0 && r.window.at(El::DOA).text == " - - -"));
    } else if (which == 2 && r.GPSTimeOut.isRunning()) {
        r.supervision.GPSTimeOut_Timer();
        FUZZ_CHECK(r.st.link.GPSTimedOut == 1);
    } else if (which == 3) {
        r.supervision.StayAliveTmr_Timer();
        FUZZ_CHECK(r.line.takeWritten() == std::string_view("\0", 1));
    }
    checkState(r);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::size_t n = std::min<std::size_t>(data[0] % 33, size - 1);
    const std::string_view schedule = n > 0 ? fuzz::bytes(data + 1, n) : "\x3F";  // 63 a tick
    const std::string_view stream = fuzz::bytes(data + 1 + n, size - 1 - n);

    Rig r;
    std::size_t at = 0;
    std::size_t roundStart = 0;
    for (std::size_t step = 0; step < kMaxSteps && at < stream.size(); ++step) {
        if (step % schedule.size() == 0 && step > 0 && std::exchange(roundStart, at) == at) {
            break;
        }
        const auto s = static_cast<std::uint8_t>(schedule[step % schedule.size()]);
        const std::size_t p = s & 0x3Fu;
        if (s >> 6 == 2) {
            idle(r, static_cast<long long>(p) + 1);
        } else if (s >> 6 == 3) {
            timerTick(r, p & 3);
        } else {
            const std::size_t take = std::min(s >> 6 == 0 ? p : 32 * p, stream.size() - at);
            r.line.incoming.append(stream.substr(at, take));
            at += take;
            tick(r, take);
        }
    }
    idle(r, kDrainTicks);
    return 0;
}
