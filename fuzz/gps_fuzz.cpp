// The GPS line on an arbitrary buffer: its record is the line's own fields, formats and reads
// back the same, stands for a position on the globe's grid, and shows on the four labels.

#include "display/Gps.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace kestrova;

// The fields of the formatted fix are the line's, the signs say the same, and the fix reads
// back the same.
void checkParsed(std::string_view line, const GpsFix& fix) {
    const std::string f = FormatGpsPacket(fix);
    FUZZ_CHECK(f.size() == 22 && f.ends_with("\r\n"));
    // Degrees and minutes may be blank-padded; the fractions are digits.
    for (std::size_t i = 2; i < 20; ++i) {
        const bool fraction = (i >= 6 && i < 10) || i >= 16;
        FUZZ_CHECK(i == 10 || (f[i] == line[i] && (isDigit(f[i]) || (!fraction && f[i] == ' '))));
    }
    FUZZ_CHECK((f[1] == '-') == (line[1] == '-') && (f[10] == '-') == (line[10] == '-'));
    FUZZ_CHECK(ParseGpsPacket(f) == fix);
    // At most 99 degrees 99.9999 minutes, north and east positive.
    const GeoPosition at = PositionOf(fix);
    FUZZ_CHECK(std::fabs(at.latitude) < 100.7 && std::fabs(at.longitude) < 1000.7);
    FUZZ_CHECK((at.latitude < 0) == (fix.lat.hemisphere == 'S' && at.latitude != 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view packet = fuzz::bytes(data, size);
    const std::string_view line = packet.substr(0, packet.find('\n'));
    const std::optional<GpsFix> fix = ParseGpsPacket(packet);
    // A position is read whole or not at all, from the line's first 20 characters.
    FUZZ_CHECK(!fix || line.size() >= 20);
    if (!fix) {
        return 0;
    }
    checkParsed(line, *fix);

    fuzz::Probe p;
    const int calls = p.window.calls;
    GPSDisplay(p.st, *fix);
    FUZZ_CHECK(p.line.written.empty() && p.window.calls == calls + 4);
    FUZZ_CHECK(p.st.positionShown == PositionOf(*fix));
    // Seconds from 00.0 to 59.9 before the hemisphere; the decimal minutes as sent.
    for (std::size_t i = 0; i < 2; ++i) {
        const std::string& sexa = p.window.at(kGpsLabels[i]).text;
        const std::string seconds = sexa.substr(sexa.size() - 7, 4);
        FUZZ_CHECK(seconds >= "00.0" && seconds <= "59.9" && seconds[2] == '.');
        const GpsCoordinate& c = i == 0 ? fix->lat : fix->lon;
        FUZZ_CHECK(p.window.at(kGpsLabels[i + 2]).text ==
                   c.degrees + "\xB0 " + c.minutes + "." + c.fraction + "' " + c.hemisphere);
    }
    return 0;
}
