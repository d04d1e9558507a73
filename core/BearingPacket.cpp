#include "core/BearingPacket.h"

#include "core/Numbers.h"

namespace kestrova {

namespace {
constexpr std::size_t kXPos = 2, kYPos = 6, kRawLen = 4;
constexpr std::size_t kSelectorPos = 10, kMeterPos = 11, kMeterLen = 2;
constexpr std::size_t kHeadingPos = 13, kHeadingLen = 3, kFlagPos = 16;
constexpr std::size_t kCrPos = 17;
constexpr int kMaxHeading = 359;
}  // namespace

BearingPacket ParseBearingPacket(std::string_view p) {
    BearingPacket b;
    b.framed = p.size() >= kBearingLength && p[kCrPos - 1] == '\r' && p[kCrPos] == '\n';
    b.rawX = digitField(p, kXPos, kRawLen);
    b.rawY = digitField(p, kYPos, kRawLen);
    b.signalMeter = p.size() >= kSelectorPos && p[kSelectorPos - 1] == 'S';
    b.meterValue = digitField(p, kMeterPos, kMeterLen);
    if (const auto h = digitField(p, kHeadingPos, kHeadingLen); h && *h <= kMaxHeading) {
        b.heading = static_cast<std::int16_t>(*h);
    }
    if (p.size() >= kFlagPos) {
        b.flag = p[kFlagPos - 1];
    }
    return b;
}

}  // namespace kestrova
