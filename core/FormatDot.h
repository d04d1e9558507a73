#pragma once
#include <string>

namespace kestrova {

// Formats a number ("000.0", "00.0") or a time of day given as "h:m:s" ("hh:mm:ss") with
// the pattern, always with "." as the decimal separator whatever the locale.
std::string FormatDot(const std::string& DataString, const std::string& Formatting);

}  // namespace kestrova
