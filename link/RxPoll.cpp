#include "link/RxPoll.h"

#include "protocol/Framing.h"

namespace kestrova {

namespace {
constexpr std::size_t kOverflowLength = 650;
constexpr std::size_t kOverflowKeep = 99;
constexpr std::size_t kResyncLength = 421;
constexpr std::size_t kEventLength = 500;
constexpr std::uint8_t kOverflowEvery = 50;
}  // namespace

void RxPoll::Timer4_Timer() {
    const std::size_t before = st_.link.RxBuffer.size();
    // A failed read (no port open) leaves the buffer as it was.
    (void)st_.Comm1.readInput(st_.link.RxBuffer);

    if (st_.link.RxBuffer.empty()) {
        supervision_.idleTick();
        return;
    }
    // A stream that stopped in mid-packet or on noise leaves characters that will never make
    // a packet: without anything new they must not keep a stale bearing on screen.
    if (st_.link.RxBuffer.size() > before || headPacketComplete()) {
        supervision_.dataTick();
    } else {
        supervision_.idleTick();
    }
    overflowCheck();
    handleHead();
}

bool RxPoll::headPacketComplete() const {
    return HeadPacket(st_.link.RxBuffer).has_value();
}

bool RxPoll::hasWork() const {
    return !st_.link.RxBuffer.empty() &&
           (headPacketComplete() || st_.link.RxBuffer.size() >= kResyncLength);
}

void RxPoll::quietTicks(long long n) {
    // Busy ticks count a waiting remainder too; it is short of 421 characters, so no overflow
    // check on the way can cut anything.
    if (!st_.link.RxBuffer.empty()) {
        st_.link.BusyTickCount =
            static_cast<std::uint8_t>((st_.link.BusyTickCount + n) % kOverflowEvery);
    }
    supervision_.idleTicks(n);
}

void RxPoll::portLost() {
    // Whatever was half received belongs to a line that is gone.
    st_.link.RxBuffer.clear();
}

void RxPoll::overflowCheck() {
    ++st_.link.BusyTickCount;
    if (st_.link.BusyTickCount < kOverflowEvery) {
        return;
    }
    std::string& b = st_.link.RxBuffer;
    if (b.size() > kOverflowLength) {
        // Keep the oldest data through the first line end at or after position 99.
        const std::size_t lf = b.find('\n', kOverflowKeep - 1);
        if (lf != std::string::npos) {
            b.resize(lf + 1);
        } else {
            b.resize(kOverflowKeep);
            st_.ui.setText(El::Textbox2, "Pkt Err");
        }
    }
    st_.link.BusyTickCount = 0;
}

void RxPoll::handleHead() {
    std::string& b = st_.link.RxBuffer;
    if (const auto head = HeadPacket(b)) {
        dispatch_.packet(head->type, std::string_view(b).substr(0, head->length));
        b.erase(0, head->length);
        return;
    }
    if (b.size() >= kResyncLength) {
        dropHeadLine();
        st_.ui.setText(El::Textbox2, "Pkt Corr");
    }
    // Otherwise an incomplete packet waits for more characters.
}

void RxPoll::dropHeadLine() {
    std::string& b = st_.link.RxBuffer;
    const std::size_t lf = b.find('\n');
    if (lf == std::string::npos) {
        b.clear();
    } else {
        b.erase(0, lf + 1);
    }
}

void RxPoll::Comm1_OnComm() {
    st_.ui.setText(El::Textbox2, "S.Over.");
    if (st_.link.RxBuffer.size() > kEventLength) {
        dropHeadLine();
    }
}

}  // namespace kestrova
