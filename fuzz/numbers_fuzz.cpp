// FormatDot with each number pattern in use, and the leading number of a setting with its
// roundings, on arbitrary text. The time-of-day pattern is a small closed grammar, tabled in
// the unit tests.

#include <cerrno>
#include <cfloat>
#include <cstdlib>

#include "core/FormatDot.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace kestrova;

// "-"? digits{intDigits,} "." digit
bool numberShape(std::string_view r, std::size_t intDigits) {
    r.remove_prefix(r.starts_with('-') ? 1 : 0);
    const std::size_t point = r.find('.');
    return point != std::string_view::npos && point >= intDigits && r.size() == point + 2 &&
           r.substr(0, point).find_first_not_of("0123456789") == std::string_view::npos &&
           isDigit(r.back());
}

// A formatted number is the text's value to the nearest tenth.
void checkNumber(const std::string& text, const char* pattern, std::size_t intDigits) {
    const std::string r = FormatDot(text, pattern);
    if (r == text) {
        return;  // not a number, shown as it came (or already in shape)
    }
    FUZZ_CHECK(numberShape(r, intDigits));
    const std::size_t first = text.find_first_not_of(" \t");
    const std::string plain = text.substr(first, text.find_last_not_of(" \t") + 1 - first);
    char* end = nullptr;
    errno = 0;
    const double v = std::strtod(plain.c_str(), &end);
    FUZZ_CHECK(end == plain.c_str() + plain.size());
    if (errno == 0 && std::fabs(v) < 1e9) {
        const double shown = std::strtod(r.c_str(), nullptr);
        FUZZ_CHECK(std::fabs(shown - v) <= 0.05 + 1e-7 * (1.0 + std::fabs(v)));
    }
}

// The numeric prefix after blanks, valued by the C library: strtod reads the same grammar once
// hexadecimal, "inf", "nan" and other white space are kept from it.
void checkLeading(const std::string& text) {
    const double v = LeadingNumber(text);
    const std::size_t first = std::min(text.find_first_not_of(" \t"), text.size());
    const std::string prefix =
        text.substr(first, text.find_first_not_of("+-.0123456789eE", first) - first);
    const double want = std::strtod(prefix.c_str(), nullptr);
    // Below the normal range the C library may keep a subnormal where the reader says 0.
    FUZZ_CHECK(std::fabs(want) < DBL_MIN ? std::fabs(v) < DBL_MIN : v == want);

    if (const auto r = RoundHalfAwayFromZero(v)) {
        FUZZ_CHECK(std::fabs(*r - v) < 0.5 ||
                   (std::fabs(*r - v) == 0.5 && std::fabs(*r) > std::fabs(v)));
    } else {
        FUZZ_CHECK(!(std::fabs(v) < 2147483647.0));
    }
    if (const auto r = RoundHalfEvenToInt16(v)) {
        FUZZ_CHECK(std::fabs(*r - v) < 0.5 || (std::fabs(*r - v) == 0.5 && *r % 2 == 0));
    } else {
        FUZZ_CHECK(!(std::fabs(v) < 32767.0));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(fuzz::bytes(data, size));
    checkNumber(text, "000.0", 3);
    checkNumber(text, "00.0", 2);
    checkLeading(text);
    return 0;
}
