#include "output/BearingLog.h"

#include <array>
#include <charconv>
#include <cmath>

#include "core/Numbers.h"
#include "display/Bearing.h"

namespace kestrova {

namespace {

// Six decimals with a point whatever the locale: the program runs in the operator's, where a
// decimal comma would split the field in two.
std::string degreesField(double degrees) {
    std::array<char, 32> buf{};
    const auto end =
        std::to_chars(buf.data(), buf.data() + buf.size(), degrees, std::chars_format::fixed, 6);
    return std::string(buf.data(), end.ptr);
}

}  // namespace

std::string CsvField(std::string_view latin1) {
    std::string text = Latin1ToUtf8(latin1);
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        return text;
    }
    std::string out = "\"";
    for (const char c : text) {
        out += c;
        if (c == '"') {
            out += '"';
        }
    }
    return out + '"';
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
    // Appended to, the log's header comes again: a reader takes each header as the columns
    // of the rows after it, so rows of a log kept before a column was added still read.
    if (!file_.write(kHeader)) {
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

std::string BearingLog::trueBearingField() const {
    const std::optional<double> degrees = trueBearing_ ? trueBearing_() : std::nullopt;
    if (!degrees || !std::isfinite(*degrees)) {
        return "";
    }
    // In tenths, so that 359.96 is written 0.0 rather than 360.0.
    const long tenths = (std::lround(*degrees * 10) % 3600 + 3600) % 3600;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

void BearingLog::bearingShown(const BearingShown& b) {
    if (!logging_) {
        return;
    }
    std::string readout = ReadoutText(b.tenths);
    // The blank after the whole degrees is layout; the dot is the half-degree mark.
    if (readout.back() == ' ') {
        readout.pop_back();
    }
    const std::string row =
        FormatLocalTime(b.time.local) + "," + readout + "," + (b.absolute ? "ABS" : "REL") + "," +
        std::to_string(b.signal) + "," + CsvField(b.band) + "," +
        (b.position ? degreesField(b.position->latitude) : "") + "," +
        (b.position ? degreesField(b.position->longitude) : "") + "," + trueBearingField() + "\n";
    if (!file_.write(row)) {
        fail();
    }
}

}  // namespace kestrova
