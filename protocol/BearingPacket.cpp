#include "protocol/BearingPacket.h"

#include "core/Numbers.h"
#include "protocol/Scanner.h"

namespace kestrova {

namespace {
constexpr std::size_t kRawLen = 4, kMeterLen = 2, kHeadingLen = 3;
constexpr int kMaxHeading = 359;
constexpr std::string_view kLineEnd = "\r\n";

std::string field(const std::optional<int>& v, std::size_t width) {
    return v ? ZeroPadded(*v, width) : std::string(width, ' ');
}
}  // namespace

BearingPacket ParseBearingPacket(std::string_view p) {
    BearingPacket b;
    Scanner s(p, 1);
    b.rawX = s.digits(kRawLen);
    b.rawY = s.digits(kRawLen);
    b.signalMeter = s.next() == 'S';
    b.meterValue = s.digits(kMeterLen);
    if (const auto h = s.digits(kHeadingLen); h && *h <= kMaxHeading) {
        b.heading = static_cast<std::int16_t>(*h);
    }
    b.flag = s.next();
    b.framed = s.fixed(kLineEnd.size()) == kLineEnd;
    return b;
}

std::string FormatBearingPacket(const BearingPacket& b) {
    return "B" + field(b.rawX, kRawLen) + field(b.rawY, kRawLen) + (b.signalMeter ? 'S' : 'T') +
           field(b.meterValue, kMeterLen) + ZeroPadded(b.heading, kHeadingLen) +
           b.flag.value_or('P') + std::string(kLineEnd);
}

}  // namespace kestrova
