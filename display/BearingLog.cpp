#include "display/BearingLog.h"

#include <cstdio>

#include "core/Numbers.h"
#include "display/Gps.h"

namespace kestrova {

namespace {

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
    // Degrees two or three wide, "° ", minutes, ".", the fraction, "' " and the hemisphere;
    // degrees and minutes as the packet had them, blank-padded or not.
    const std::size_t w = label.find('\xB0');
    if ((w != 2 && w != 3) || label.size() != w + 12 || label.substr(w, 2) != "\xB0 " ||
        label[w + 4] != '.' || label.substr(w + 9, 2) != "' ") {
        return std::nullopt;
    }
    const auto degrees = paddedField(label, 1, w);
    const auto minutes = paddedField(label, w + 3, 2);
    const auto fraction = digitField(label, w + 6, 4);
    const char hemisphere = label.back();
    if (!degrees || !minutes || !fraction ||
        std::string_view("NSEW").find(hemisphere) == std::string_view::npos) {
        return std::nullopt;
    }
    return SignedDegrees(*degrees, *minutes, *fraction, hemisphere == 'S' || hemisphere == 'W');
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
