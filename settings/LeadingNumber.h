#pragma once
// Numbers in setting texts: every numeric setting is the number its text starts with.

#include <cstdint>
#include <optional>
#include <string_view>

namespace kestrova {

// The value of the longest numeric prefix of text after leading blanks (spaces, tabs):
// an optional sign, digits with at most one ".", and an optional exponent ("e"/"E", optional
// sign, digits). 0 when there is none. A prefix too large for a double gives +/-infinity.
double LeadingNumber(std::string_view text);

// Nearest whole number, halves away from zero; nothing for NaN or beyond 32 bits.
std::optional<std::int32_t> RoundHalfAwayFromZero(double value);

// Nearest whole number, halves to the even neighbour; nothing for NaN or beyond 16 bits.
std::optional<std::int16_t> RoundHalfEvenToInt16(double value);

}  // namespace kestrova
