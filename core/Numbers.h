#pragma once
// Numbers in texts: fixed-width digit fields of the packets, the leading number of a setting,
// and the roundings the displays and settings use. None of them looks at the locale.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The whole number in the fixed-width field at 1-based position pos, len characters long.
// Only plain ASCII digits count: no blanks, signs or points. Nothing when the field is short
// of the text or holds anything else.
std::optional<int> digitField(std::string_view text, std::size_t pos, std::size_t len);

// The same for a field whose leading blanks are padding (" 5" is 5): at least one digit, and
// nothing else after the first one.
std::optional<int> paddedField(std::string_view text, std::size_t pos, std::size_t len);

// The value of the longest numeric prefix of text after leading blanks (spaces, tabs):
// an optional sign, digits with at most one ".", and an optional exponent ("e"/"E", optional
// sign, digits). 0 when there is none. A prefix too large for a double gives +/-infinity.
double LeadingNumber(std::string_view text);

// Nearest whole number, a half going to the even neighbour, whatever the rounding mode.
double roundHalfEven(double x);

// Nearest whole number, halves away from zero; nothing for NaN or beyond 32 bits.
std::optional<std::int32_t> RoundHalfAwayFromZero(double value);

// Nearest whole number, halves to the even neighbour; nothing for NaN or beyond 16 bits.
std::optional<std::int16_t> RoundHalfEvenToInt16(double value);

// Shortest decimal text that reads back as f, always with "." and never with an exponent.
std::string floatText(float f);

}  // namespace kestrova
