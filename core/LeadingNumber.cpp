#include "core/Numbers.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace kestrova {

namespace {

std::size_t skipDigits(std::string_view t, std::size_t i) {
    while (i < t.size() && isDigit(t[i])) {
        ++i;
    }
    return i;
}

// from_chars leaves the value alone when it is out of range; tell overflow from underflow
// by the decimal exponent of the first significant digit, saturated.
double outOfRange(std::string_view mantissa, std::string_view exponent) {
    long long e10 = 0;
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_not_of("0.");
    if (first == std::string_view::npos) {
        return 0.0;
    }
    e10 = first < point ? static_cast<long long>(point - first) - 1
                        : -static_cast<long long>(first - point);
    // Once the exponent outweighs every digit of the mantissa its sign alone decides, so it
    // is read only that far and cannot overflow.
    const auto enough = static_cast<long long>(mantissa.size()) + 1;
    long long e = 0;
    bool negative = false;
    for (char c : exponent) {
        if (c == '-') {
            negative = true;
        } else if (isDigit(c) && e <= enough) {
            e = e * 10 + (c - '0');
        }
    }
    e10 += negative ? -e : e;
    return e10 > 0 ? std::numeric_limits<double>::infinity() : 0.0;
}

// Past the exponent at i ("e" or "E", an optional sign, digits); i when there is none.
std::size_t exponentEnd(std::string_view t, std::size_t i) {
    if (i >= t.size() || (t[i] != 'e' && t[i] != 'E')) {
        return i;
    }
    std::size_t j = i + 1;
    if (j < t.size() && (t[j] == '+' || t[j] == '-')) {
        ++j;
    }
    const std::size_t k = skipDigits(t, j);
    return k > j ? k : i;
}

}  // namespace

double LeadingNumber(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        negative = t[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    i = skipDigits(t, i);
    std::size_t digits = i - start;
    if (i < t.size() && t[i] == '.') {
        const std::size_t after = skipDigits(t, i + 1);
        digits += after - (i + 1);
        i = after;
    }
    if (digits == 0) {
        return 0.0;
    }
    const std::size_t mantissaEnd = i;
    const std::size_t end = exponentEnd(t, i);
    double value = 0.0;
    const auto [ptr, ec] =
        std::from_chars(t.data() + start, t.data() + end, value, std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        value = outOfRange(t.substr(start, mantissaEnd - start),
                           t.substr(mantissaEnd, end - mantissaEnd));
    }
    return negative ? -value : value;
}

std::optional<std::int32_t> RoundHalfAwayFromZero(double value) {
    const double r = std::round(value);
    if (!(r >= std::numeric_limits<std::int32_t>::min() &&
          r <= std::numeric_limits<std::int32_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(r);
}

std::optional<std::int16_t> RoundHalfEvenToInt16(double value) {
    const double below = std::floor(value);
    const double fraction = value - below;
    double r = below;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(below, 2.0) != 0.0)) {
        r = below + 1.0;
    }
    if (!(r >= std::numeric_limits<std::int16_t>::min() &&
          r <= std::numeric_limits<std::int16_t>::max())) {
        return std::nullopt;
    }
    return static_cast<std::int16_t>(r);
}

}  // namespace kestrova
