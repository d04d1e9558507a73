#include "core/Numbers.h"

#include <array>
#include <charconv>
#include <cmath>

namespace kestrova {

std::optional<int> digitField(std::string_view text, std::size_t pos, std::size_t len) {
    if (pos == 0 || len == 0 || pos - 1 + len > text.size()) {
        return std::nullopt;
    }
    int v = 0;
    for (std::size_t i = pos - 1; i < pos - 1 + len; ++i) {
        if (!isDigit(text[i])) {
            return std::nullopt;
        }
        v = v * 10 + (text[i] - '0');
    }
    return v;
}

std::optional<int> paddedField(std::string_view text, std::size_t pos, std::size_t len) {
    std::size_t blanks = 0;
    while (pos > 0 && blanks < len && pos - 1 + blanks < text.size() &&
           text[pos - 1 + blanks] == ' ') {
        ++blanks;
    }
    return blanks == len ? std::nullopt : digitField(text, pos + blanks, len - blanks);
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

}  // namespace kestrova
