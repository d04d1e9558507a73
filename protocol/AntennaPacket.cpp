#include "protocol/AntennaPacket.h"

#include <charconv>
#include <cmath>

#include "core/Numbers.h"
#include "protocol/Scanner.h"

namespace kestrova {

namespace {

constexpr std::string_view kUnknown = "ANT UNKNOWN";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kMaxBands = 15;
// Offsets feed 16-bit bearing arithmetic; anything beyond that is no offset.
constexpr double kMaxOffset = 32767.0;

// A signed decimal number, blanks around it allowed: "-450", " 12 ", "+7", "12.5". Digits
// with at most one point and at least one digit; no exponent, "inf" or "nan".
std::optional<float> offsetNumber(std::string_view f) {
    f = Trimmed(f);
    const bool negative = f.starts_with('-');
    if (negative || f.starts_with('+')) {
        f.remove_prefix(1);
    }
    const std::size_t point = f.find('.');
    const std::string_view whole = f.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? "" : f.substr(point + 1);
    const bool digits =
        (whole.empty() || AllDigits(whole)) && (fraction.empty() || AllDigits(fraction));
    double value = 0;
    const auto [end, ec] =
        std::from_chars(f.data(), f.data() + f.size(), value, std::chars_format::fixed);
    if (!digits || f == "." || ec != std::errc() || end != f.data() + f.size() ||
        std::fabs(value) > kMaxOffset) {
        return std::nullopt;
    }
    return static_cast<float>(negative ? -value : value);
}

AntennaLine::Band band(std::string_view entry) {
    const std::size_t slash = entry.find('/');
    if (slash == std::string_view::npos) {
        return {std::string(entry), 0.0f};
    }
    return {std::string(entry.substr(0, slash)), offsetNumber(entry.substr(slash + 1))};
}

}  // namespace

AntennaLine ParseAntennaLine(std::string_view data) {
    AntennaLine a;
    if (data.find(kUnknown, 1) != std::string_view::npos) {
        a.unknown = true;
        return a;
    }
    // Outside the grammar nothing is taken, so the record stays as it was shown.
    if (!data.ends_with(kLineEnd)) {
        return a;
    }
    Scanner s(data.substr(0, data.size() - kLineEnd.size()), 1);
    const auto model = s.upTo(',');
    if (!model) {
        return a;
    }
    a.wellFormed = true;
    a.model = *model;
    for (bool last = false; !last && a.bands.size() < kMaxBands;) {
        const auto entry = s.upTo(',');
        last = !entry;
        a.bands.push_back(band(last ? s.rest() : *entry));
    }
    return a;
}

std::string FormatAntennaLine(const AntennaLine& a) {
    if (a.unknown) {
        return std::string(kUnknownAntenna);
    }
    std::string s = "C" + a.model;
    for (const AntennaLine::Band& b : a.bands) {
        s += "," + b.text + "/" + (b.offset ? floatText(*b.offset) : "");
    }
    return s + std::string(kLineEnd);
}

}  // namespace kestrova
