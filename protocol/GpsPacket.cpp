#include "protocol/GpsPacket.h"

#include "core/Numbers.h"
#include "protocol/Scanner.h"

namespace kestrova {

namespace {

constexpr std::size_t kGpsLength = 20;  // positions 1..20 hold every field
constexpr std::size_t kMinutesLen = 2, kFractionLen = 4;
constexpr double kTenThousandthsPerDegree = 600000.0;

struct Layout {
    std::size_t degreesLen;
    char positive, negative;
};
constexpr Layout kLat{2, 'N', 'S'};
constexpr Layout kLon{3, 'E', 'W'};

std::optional<GpsCoordinate> coordinate(Scanner& s, const Layout& f) {
    GpsCoordinate c;
    c.hemisphere = s.next() == '-' ? f.negative : f.positive;
    c.degrees = s.fixed(f.degreesLen);
    c.minutes = s.fixed(kMinutesLen);
    c.fraction = s.fixed(kFractionLen);
    // Degrees and minutes are fixed-width numbers whose leading blanks are padding; a blank
    // among the fraction's digits after a point would stand for no digit at all.
    if (!PaddedValue(c.degrees) || !PaddedValue(c.minutes) || !AllDigits(c.fraction)) {
        return std::nullopt;
    }
    return c;
}

std::string sent(const GpsCoordinate& c) {
    const bool negative = c.hemisphere == 'S' || c.hemisphere == 'W';
    return (negative ? "-" : "+") + c.degrees + c.minutes + c.fraction;
}

double signedDegrees(const GpsCoordinate& c) {
    // Ten-thousandths of a minute, counted whole so that no digit is lost on the way.
    const double value =
        *PaddedValue(c.degrees) +
        (*PaddedValue(c.minutes) * 10000 + *DigitsValue(c.fraction)) / kTenThousandthsPerDegree;
    return c.hemisphere == 'S' || c.hemisphere == 'W' ? -value : value;
}

}  // namespace

std::optional<GpsFix> ParseGpsPacket(std::string_view line) {
    // The packet ends at its first LF: the next packet in the buffer is none of our business.
    line = line.substr(0, line.find('\n'));
    if (line.size() < kGpsLength) {
        return std::nullopt;
    }
    Scanner s(line, 1);
    auto lat = coordinate(s, kLat);
    auto lon = coordinate(s, kLon);
    if (!lat || !lon) {
        return std::nullopt;
    }
    return GpsFix{std::move(*lat), std::move(*lon)};
}

std::string FormatGpsPacket(const GpsFix& fix) {
    return "D" + sent(fix.lat) + sent(fix.lon) + "\r\n";
}

GeoPosition PositionOf(const GpsFix& fix) {
    return {signedDegrees(fix.lat), signedDegrees(fix.lon)};
}

}  // namespace kestrova
