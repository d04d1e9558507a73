#pragma once
// Numbers in texts: digit fields, the leading number of a setting, fixed-width numbers, and
// the roundings the displays and settings use. None of them looks at the locale.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kestrova {

inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// At least one character, each a plain ASCII digit.
inline bool AllDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The whole number a text of plain ASCII digits spells; nothing for anything else (no
// blanks, signs or points, nothing empty) or one too large for an int.
std::optional<int> DigitsValue(std::string_view digits);

// The text without the characters of `blanks` at either end.
std::string_view Trimmed(std::string_view text, std::string_view blanks = " ");

// value (0 or more) in decimal, with leading zeros to `width` digits: "07", "359".
std::string ZeroPadded(int value, std::size_t width);

// The whole number in a fixed-width field whose leading blanks are padding (" 5" is 5): at least
// one digit, and nothing but digits after the first.
std::optional<int> PaddedValue(std::string_view field);

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

// The whole text as a finite number ("1.5", "-2e3"; no blanks, no "inf"); nothing otherwise.
std::optional<double> FiniteNumber(std::string_view text);

// The display's Latin-1 text as UTF-8.
std::string Latin1ToUtf8(std::string_view latin1);

}  // namespace kestrova
