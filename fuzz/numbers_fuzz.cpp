// The leading number of a setting with its roundings, and the digit fields of the packets, on
// arbitrary text.

#include <cerrno>
#include <cfloat>
#include <cstdlib>

#include "fuzz/FuzzSupport.h"

namespace {

using namespace kestrova;

// Digits read as a number are the number: zero-padded to their length they are the text
// again. Up to 9 significant digits always fit, 11 never do.
void checkDigits(const std::string& text) {
    const auto v = DigitsValue(text);
    const std::size_t significant =
        text.size() - std::min(text.find_first_not_of('0'), text.size());
    FUZZ_CHECK(!v || (AllDigits(text) && ZeroPadded(*v, text.size()) == text));
    FUZZ_CHECK(!(AllDigits(text) && significant <= 9) || v);
    FUZZ_CHECK(significant <= 10 || !v);
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
    checkDigits(text);
    checkLeading(text);
    return 0;
}
