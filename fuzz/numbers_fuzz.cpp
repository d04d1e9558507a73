// FormatDot with each pattern in use, and the leading number of a setting, on arbitrary text.

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/FormatDot.h"
#include "core/Numbers.h"
#include "fuzz/FuzzSupport.h"

namespace {

using kestrova::fuzz::isDigit;

std::string_view trimBlanks(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t')) {
        t.remove_prefix(1);
    }
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t')) {
        t.remove_suffix(1);
    }
    return t;
}

// "-"? digits{intDigits,} "." digit{decimals}
bool numberShape(std::string_view r, std::size_t intDigits, std::size_t decimals) {
    if (r.starts_with('-')) {
        r.remove_prefix(1);
    }
    const std::size_t point = r.find('.');
    if (point == std::string_view::npos || point < intDigits || r.size() != point + 1 + decimals) {
        return false;
    }
    for (std::size_t i = 0; i < r.size(); ++i) {
        if (i != point && !isDigit(r[i])) {
            return false;
        }
    }
    return true;
}

// A formatted number is the text's value to the nearest tenth.
void checkNumber(const std::string& text, const char* pattern, std::size_t intDigits) {
    const std::string r = kestrova::FormatDot(text, pattern);
    if (r == text) {
        return;  // not a number, shown as it came (or already in shape)
    }
    FUZZ_CHECK(numberShape(r, intDigits, 1));
    const std::string plain(trimBlanks(text));
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(plain.c_str(), &end);
    FUZZ_CHECK(end == plain.c_str() + plain.size());
    if (errno == 0 && std::fabs(v) < 1e9) {
        const double shown = std::strtod(r.c_str(), nullptr);
        FUZZ_CHECK(std::fabs(shown - v) <= 0.05 + 1e-7 * (1.0 + std::fabs(v)));
    }
}

int twoDigits(std::string_view t) {
    return (t[0] - '0') * 10 + (t[1] - '0');
}

void checkTime(const std::string& text) {
    const std::string r = kestrova::FormatDot(text, "hh:mm:ss");
    if (r == text) {
        return;  // no time of day, shown as it came (or already in shape)
    }
    FUZZ_CHECK(r.size() == 8 && r[2] == ':' && r[5] == ':');
    for (const std::size_t i : {0, 1, 3, 4, 6, 7}) {
        FUZZ_CHECK(isDigit(r[i]));
    }
    FUZZ_CHECK(twoDigits(r) <= 23 && twoDigits(r.substr(3)) <= 59 && twoDigits(r.substr(6)) <= 59);
    // Only the digits and colons of a time of day are turned into one.
    FUZZ_CHECK(text.find_first_not_of("0123456789:") == std::string::npos);
}

// The numeric prefix by the same grammar, valued by the C library instead.
double referenceLeading(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t')) {
        ++i;
    }
    const std::size_t start = i;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    while (i < t.size() && isDigit(t[i])) {
        ++i, ++digits;
    }
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && isDigit(t[i])) {
            ++i, ++digits;
        }
    }
    if (digits == 0) {
        return 0.0;
    }
    std::size_t end = i;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < t.size() && (t[j] == '+' || t[j] == '-')) {
            ++j;
        }
        if (j < t.size() && isDigit(t[j])) {
            while (j < t.size() && isDigit(t[j])) {
                ++j;
            }
            end = j;
        }
    }
    const std::string prefix(t.substr(start, end - start));
    return std::strtod(prefix.c_str(), nullptr);
}

void checkLeading(const std::string& text) {
    const double v = kestrova::LeadingNumber(text);
    FUZZ_CHECK(!std::isnan(v));
    const double want = referenceLeading(text);
    // Below the normal range the C library may keep a subnormal where the reader says 0.
    if (std::fabs(want) < DBL_MIN) {
        FUZZ_CHECK(std::fabs(v) < DBL_MIN);
    } else {
        FUZZ_CHECK(v == want);
    }

    if (const auto r = kestrova::RoundHalfAwayFromZero(v)) {
        FUZZ_CHECK(std::fabs(*r - v) <= 0.5);
        FUZZ_CHECK(std::fabs(*r - v) < 0.5 || std::fabs(*r) > std::fabs(v));
    } else {
        FUZZ_CHECK(!(std::fabs(v) < 2147483647.0));
    }
    if (const auto r = kestrova::RoundHalfEvenToInt16(v)) {
        FUZZ_CHECK(std::fabs(*r - v) <= 0.5);
        FUZZ_CHECK(std::fabs(*r - v) < 0.5 || *r % 2 == 0);
    } else {
        FUZZ_CHECK(!(std::fabs(v) < 32767.0));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    checkNumber(text, "000.0", 3);
    checkNumber(text, "00.0", 2);
    checkTime(text);
    checkLeading(text);
    return 0;
}
