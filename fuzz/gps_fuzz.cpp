// The GPS parser and the four labels against a reading of their own, on an arbitrary receive
// buffer.

#include <cmath>

#include "display/BearingLog.h"
#include "display/Gps.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace kestrova;

// A fixed-width number: blanks, then at least one digit and nothing else; -1 when it is none.
int padded(std::string_view field) {
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string_view::npos ||
        field.substr(first).find_first_not_of("0123456789") != std::string_view::npos) {
        return -1;
    }
    return std::stoi(std::string(field.substr(first)));
}

// The coordinate whose sign is at 0-based index at, in a line of at least 20 characters:
// degrees and minutes, blank-padded or not, and the minute's fraction, four digits.
std::optional<GpsCoordinate> coordinate(std::string_view line, std::size_t at, std::size_t degrees,
                                        const char* hemispheres) {
    if (line.size() < 20) {
        return std::nullopt;
    }
    const std::string_view d = line.substr(at + 1, degrees), m = line.substr(at + 1 + degrees, 2),
                           f = line.substr(at + 3 + degrees, 4);
    if (padded(d) < 0 || padded(m) < 0 || padded(f) < 0 || f.front() == ' ') {
        return std::nullopt;
    }
    const bool negative = line[at] == '-';
    const double value = padded(d) + (padded(m) + padded(f) / 10000.0) / 60.0;
    return GpsCoordinate{hemispheres[negative ? 1 : 0], std::string(d), std::string(m),
                         std::string(f), negative ? -value : value};
}

// Seconds to the nearest tenth, halves up, held below a minute.
std::string sexagesimal(const GpsCoordinate& c) {
    const int tenths = std::min((std::stoi(c.fraction) * 6 + 50) / 100, 599);
    char seconds[8];
    std::snprintf(seconds, sizeof seconds, "%02d.%d", tenths / 10, tenths % 10);
    return c.degrees + "\xB0 " + c.minutes + "' " + seconds + "\" " + c.hemisphere;
}

std::string decimalMinutes(const GpsCoordinate& c) {
    return c.degrees + "\xB0 " + c.minutes + "." + c.fraction + "' " + c.hemisphere;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view packet = fuzz::bytes(data, size);
    const std::string_view line = packet.substr(0, packet.find('\n'));
    const auto lat = coordinate(line, 1, 2, "NS");
    const auto lon = coordinate(line, 10, 3, "EW");
    // A position is read whole or not at all; the decimal-minutes text holds every field.
    const std::optional<GpsFix> fix = ParseGpsPacket(packet);
    FUZZ_CHECK(fix.has_value() == (lat && lon));
    FUZZ_CHECK(!fix || (decimalMinutes(fix->lat) == decimalMinutes(*lat) &&
                        decimalMinutes(fix->lon) == decimalMinutes(*lon)));
    // In decimal degrees, the same whether read from the packet or, by the log, from the label.
    for (const auto& [mine, its] : {std::pair(lat, fix ? fix->lat : GpsCoordinate{}),
                                    std::pair(lon, fix ? fix->lon : GpsCoordinate{})}) {
        FUZZ_CHECK(!fix || (std::abs(its.value - mine->value) < 1e-9 &&
                            DecimalDegrees(decimalMinutes(its)) == its.value));
    }

    fuzz::Probe p;
    p.st.link.RxBuffer.assign(packet);
    const int calls = p.window.calls;
    FUZZ_CHECK(GPSDisplay(p.st) == fix.has_value());
    FUZZ_CHECK(p.st.link.RxBuffer == packet && p.line.written.empty());
    FUZZ_CHECK(p.window.calls == calls + (fix ? 4 : 0));
    // Shown in the order of kGpsLabels.
    const std::string shown[] = {fix ? sexagesimal(*lat) : "", fix ? sexagesimal(*lon) : "",
                                 fix ? decimalMinutes(*lat) : "", fix ? decimalMinutes(*lon) : ""};
    for (std::size_t i = 0; i < kGpsLabels.size(); ++i) {
        FUZZ_CHECK(p.window.at(kGpsLabels[i]).text == shown[i]);
    }
    return 0;
}
