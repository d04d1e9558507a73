#include "display/BearingLog.h"

#include <cstdio>

namespace kestrova {

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// Consumes `n` digits (n > 0) or 1 to 3 when n is 0; false when they are not there.
bool digits(std::string_view& s, std::size_t n, long& value) {
    std::size_t count = 0;
    while (count < s.size() && isDigit(s[count]) && (n == 0 ? count < 3 : count < n)) {
        ++count;
    }
    if (count == 0 || (n != 0 && count != n)) {
        return false;
    }
    value = 0;
    for (std::size_t i = 0; i < count; ++i) {
        value = value * 10 + (s[i] - '0');
    }
    s.remove_prefix(count);
    return true;
}

bool literal(std::string_view& s, std::string_view text) {
    if (!s.starts_with(text)) {
        return false;
    }
    s.remove_prefix(text.size());
    return true;
}

// The readout shows three digits and a blank or a half-degree dot; the placeholder is no
// bearing.
bool isReadout(std::string_view text) {
    return text.size() >= 3 && isDigit(text[0]) && isDigit(text[1]) && isDigit(text[2]);
}

std::string degreesField(std::string_view label) {
    const auto d = DecimalDegrees(label);
    if (!d) {
        return {};
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.6f", *d);
    return buf;
}

}  // namespace

std::optional<double> DecimalDegrees(std::string_view label) {
    long degrees = 0, minutes = 0, fraction = 0;
    std::string_view s = label;
    if (!digits(s, 0, degrees) || !literal(s, "\xB0 ") || !digits(s, 2, minutes) ||
        !literal(s, ".") || !digits(s, 4, fraction) || !literal(s, "' ") || s.size() != 1) {
        return std::nullopt;
    }
    const char hemisphere = s[0];
    if (hemisphere != 'N' && hemisphere != 'S' && hemisphere != 'E' && hemisphere != 'W') {
        return std::nullopt;
    }
    // Ten-thousandths of a minute, counted whole so that no digit is lost on the way.
    const double value =
        static_cast<double>(degrees) + static_cast<double>(minutes * 10000 + fraction) / 600000.0;
    return hemisphere == 'S' || hemisphere == 'W' ? -value : value;
}

std::string CsvField(std::string_view latin1) {
    std::string out;
    bool quote = false;
    for (const char c : latin1) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x80) {
            out += static_cast<char>(0xC0 | (u >> 6));
            out += static_cast<char>(0x80 | (u & 0x3F));
            continue;
        }
        quote = quote || c == ',' || c == '"' || c == '\r' || c == '\n';
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return quote ? '"' + out + '"' : out;
}

bool BearingLog::start(const std::string& path) {
    finish();
    path_ = path;
    std::uint64_t existing = 0;
    if (!file_.open(path, true, existing)) {
        fail();
        return false;
    }
    logging_ = true;
    if (existing == 0 && !file_.write(kHeader)) {
        fail();
        return false;
    }
    return true;
}

void BearingLog::finish() {
    if (logging_) {
        file_.close();
        logging_ = false;
    }
}

void BearingLog::fail() {
    const std::string reason = file_.reason();
    file_.close();
    logging_ = false;
    if (report_) {
        report_("Cannot write bearing log " + path_ + ": " + reason);
    }
}

void BearingLog::shown(El e, std::string_view latin1) {
    switch (e) {
        case El::DOA:
            if (logging_ && isReadout(latin1)) {
                writeRow(latin1);
            }
            break;
        case El::Banner_RelBear:
            mode_ = latin1;
            break;
        case El::Banner_Ant_Band:
            band_ = latin1;
            break;
        case El::Banner_GPS_Decimal_Lat:
            latitude_ = degreesField(latin1);
            break;
        case El::Banner_GPS_Decimal_Lon:
            longitude_ = degreesField(latin1);
            break;
        default:
            break;
    }
}

void BearingLog::writeRow(std::string_view readout) {
    // The blank after the whole degrees is layout; the dot is the half-degree mark.
    while (!readout.empty() && readout.back() == ' ') {
        readout.remove_suffix(1);
    }
    std::string row = FormatLocalTime(clock_.now());
    row += ',';
    row += CsvField(readout);
    row += ',';
    row += CsvField(mode_);
    row += ',';
    row += signal_ ? std::to_string(signal_()) : std::string();
    row += ',';
    row += CsvField(band_);
    row += ',';
    row += latitude_;
    row += ',';
    row += longitude_;
    row += '\n';
    if (!file_.write(row)) {
        fail();
    }
}

}  // namespace kestrova
