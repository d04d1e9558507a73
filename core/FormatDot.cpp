#include "core/FormatDot.h"

#include "core/Numbers.h"

#include <cstddef>
#include <string_view>

// Formats by hand on the decimal digits, so that neither the C locale nor the global C++
// locale can put a comma in, and a decimal half in the text rounds as written (0.15 -> 0.2)
// rather than as its nearest binary value would.

namespace kestrova {

namespace {

// "0", "000", "00.0", "000.0", ...: zeros, optionally a point and more zeros.
bool numericPattern(std::string_view f, std::size_t& intDigits, std::size_t& decimals) {
    std::size_t i = 0;
    while (i < f.size() && f[i] == '0') {
        ++i;
    }
    intDigits = i;
    decimals = 0;
    if (intDigits == 0) {
        return false;
    }
    if (i == f.size()) {
        return true;
    }
    if (f[i] != '.') {
        return false;
    }
    ++i;
    while (i < f.size() && f[i] == '0') {
        ++i;
        ++decimals;
    }
    return i == f.size() && decimals > 0;
}

struct Decimal {
    bool negative = false;
    std::string intPart;   // digits before the point
    std::string fracPart;  // digits after it
};

// An exponent at s[i] ("e" or "E", an optional sign, digits), read up to `end` into
// `exponent`; none leaves it 0. False when it is malformed or beyond the bound, which keeps a
// hostile text from asking for a huge digit string.
bool parseExponent(std::string_view s, std::size_t& i, std::size_t end, long& exponent) {
    constexpr long kMaxExponent = 400;
    exponent = 0;
    if (i < end && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < end && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        if (i == end || !isDigit(s[i])) {
            return false;
        }
        while (i < end && isDigit(s[i])) {
            exponent = exponent * 10 + (s[i++] - '0');
            if (exponent > kMaxExponent) {
                return false;
            }
        }
        if (expNegative) {
            exponent = -exponent;
        }
    }
    return true;
}

// Moves the point by the exponent.
void movePoint(Decimal& d, long exponent) {
    if (exponent > 0) {
        const auto n = static_cast<std::size_t>(exponent);
        if (n <= d.fracPart.size()) {
            d.intPart += d.fracPart.substr(0, n);
            d.fracPart.erase(0, n);
        } else {
            d.intPart += d.fracPart;
            d.intPart.append(n - d.fracPart.size(), '0');
            d.fracPart.clear();
        }
    } else if (exponent < 0) {
        const auto n = static_cast<std::size_t>(-exponent);
        if (n <= d.intPart.size()) {
            d.fracPart.insert(0, d.intPart.substr(d.intPart.size() - n));
            d.intPart.erase(d.intPart.size() - n);
        } else {
            d.fracPart.insert(0, std::string(n - d.intPart.size(), '0') + d.intPart);
            d.intPart.clear();
        }
    }
}

// A plain decimal number with an optional sign, point and exponent; blanks around it are
// allowed.
bool parseDecimal(std::string_view s, Decimal& d) {
    std::size_t i = 0;
    std::size_t end = s.size();
    while (i < end && (s[i] == ' ' || s[i] == '\t')) {
        ++i;
    }
    while (end > i && (s[end - 1] == ' ' || s[end - 1] == '\t')) {
        --end;
    }
    if (i < end && (s[i] == '+' || s[i] == '-')) {
        d.negative = s[i] == '-';
        ++i;
    }
    while (i < end && isDigit(s[i])) {
        d.intPart += s[i++];
    }
    if (i < end && s[i] == '.') {
        ++i;
        while (i < end && isDigit(s[i])) {
            d.fracPart += s[i++];
        }
    }
    if (d.intPart.empty() && d.fracPart.empty()) {
        return false;
    }
    long exponent = 0;
    if (!parseExponent(s, i, end, exponent) || i != end) {
        return false;
    }
    movePoint(d, exponent);
    const std::size_t nz = d.intPart.find_first_not_of('0');
    d.intPart.erase(0, nz == std::string::npos ? d.intPart.size() : nz);
    return true;
}

// Adds one unit in the last place of a digit string; true when it carried out of the front.
bool increment(std::string& digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] == '9') {
            digits[i] = '0';
        } else {
            ++digits[i];
            return false;
        }
    }
    return true;
}

std::string formatNumber(const std::string& data, std::size_t intDigits, std::size_t decimals) {
    Decimal d;
    if (!parseDecimal(data, d)) {
        return data;  // not a number: shown as it came
    }
    if (d.fracPart.size() > decimals) {
        // Halves round away from zero: the first dropped digit decides.
        const bool up = d.fracPart[decimals] >= '5';
        d.fracPart.resize(decimals);
        if (up && increment(d.fracPart) && increment(d.intPart)) {
            d.intPart = "1" + d.intPart;
        }
    }
    d.fracPart.append(decimals - d.fracPart.size(), '0');
    if (d.intPart.size() < intDigits) {
        d.intPart.insert(0, intDigits - d.intPart.size(), '0');
    }
    const bool zero = d.intPart.find_first_not_of('0') == std::string::npos &&
                      d.fracPart.find_first_not_of('0') == std::string::npos;
    std::string out = (d.negative && !zero) ? "-" : "";
    out += d.intPart;
    if (decimals > 0) {
        out += '.';
        out += d.fracPart;
    }
    return out;
}

// "h:m:s" or "h:m", one or two digits each, as a time of day.
std::string formatTime(const std::string& data) {
    int parts[3] = {0, 0, 0};
    std::size_t count = 0;
    std::size_t i = 0;
    while (count < 3) {
        std::size_t digits = 0;
        int v = 0;
        while (i < data.size() && isDigit(data[i]) && digits < 3) {
            v = v * 10 + (data[i++] - '0');
            ++digits;
        }
        if (digits == 0 || digits > 2) {
            return data;
        }
        parts[count++] = v;
        if (i == data.size()) {
            break;
        }
        if (data[i] != ':') {
            return data;
        }
        ++i;
    }
    if (i != data.size() || count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) {
        return data;
    }
    std::string out = "00:00:00";
    for (std::size_t k = 0; k < 3; ++k) {
        out[k * 3] = static_cast<char>('0' + parts[k] / 10);
        out[k * 3 + 1] = static_cast<char>('0' + parts[k] % 10);
    }
    return out;
}

}  // namespace

std::string FormatDot(const std::string& DataString, const std::string& Formatting) {
    if (Formatting == "hh:mm:ss") {
        return formatTime(DataString);
    }
    std::size_t intDigits = 0;
    std::size_t decimals = 0;
    if (numericPattern(Formatting, intDigits, decimals)) {
        return formatNumber(DataString, intDigits, decimals);
    }
    return DataString;
}

}  // namespace kestrova
