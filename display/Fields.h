#pragma once
// Small number helpers shared by the display procedures. None of them looks at the locale.

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrova::fields {

// The whole number in the fixed-width field at 1-based position pos, len characters long.
// Only plain ASCII digits count: no blanks, signs or points. False, with value untouched,
// when the field is short of the text or holds anything else.
bool digitField(std::string_view text, std::size_t pos, std::size_t len, int& value);

// Nearest whole number, a half going to the even neighbour, whatever the rounding mode.
double roundHalfEven(double x);

// Shortest decimal text that reads back as f, always with "." and never with an exponent.
std::string floatText(float f);

}  // namespace kestrova::fields
