#include "core/Numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace kestrova {

std::optional<int> DigitsValue(std::string_view digits) {
    constexpr int kLimit = std::numeric_limits<int>::max() / 10 - 1;
    if (!AllDigits(digits)) {
        return std::nullopt;
    }
    int v = 0;
    for (const char c : digits) {
        if (v > kLimit) {
            return std::nullopt;
        }
        v = v * 10 + (c - '0');
    }
    return v;
}

std::string_view Trimmed(std::string_view text, std::string_view blanks) {
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

std::string ZeroPadded(int value, std::size_t width) {
    std::string s = std::to_string(value);
    if (s.size() < width) {
        s.insert(0, width - s.size(), '0');
    }
    return s;
}

std::optional<int> PaddedValue(std::string_view field) {
    const std::size_t first = field.find_first_not_of(' ');
    return first == std::string_view::npos ? std::nullopt : DigitsValue(field.substr(first));
}

double roundHalfEven(double x) {
    const double r = std::round(x);  // halves away from zero
    if (std::fabs(x - std::trunc(x)) == 0.5) {
        return 2.0 * std::round(x / 2.0);
    }
    return r;
}

std::string floatText(float f) {
    // Fixed notation of a float needs at most 39 integer digits plus the shortest fraction.
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), f, std::chars_format::fixed);
    if (res.ec != std::errc()) {
        return {};
    }
    return std::string(buf.data(), res.ptr);
}

std::optional<double> FiniteNumber(std::string_view text) {
    double v = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (text.empty() || ec != std::errc() || ptr != text.data() + text.size() ||
        !std::isfinite(v)) {
        return std::nullopt;
    }
    return v;
}

std::string Latin1ToUtf8(std::string_view latin1) {
    std::string out;
    for (const char c : latin1) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return out;
}

}  // namespace kestrova
