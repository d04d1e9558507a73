// The antenna line: its record formats and reads back the same, and the decoder keeps what
// the record says. The input is cut after each LF and every piece is decoded in turn, as the
// dispatcher hands them over, so a short list follows a long one.

#include "fuzz/FuzzSupport.h"
#include "status/AntennaDecoder.h"

namespace {

using namespace kestrova;

constexpr std::size_t kMaxLines = 16;

// A record read from the line is the line's: at most 15 bands, none holding a comma or (in
// its text) a slash, and formatted it reads back the same.
void checkParsed(std::string_view line, const AntennaLine& a) {
    FUZZ_CHECK(a.unknown == (line.find("ANT UNKNOWN", 1) != std::string_view::npos));
    FUZZ_CHECK(!(a.unknown && a.wellFormed) && a.bands.size() <= 15);
    FUZZ_CHECK(a.wellFormed || a.unknown || a == AntennaLine{});
    FUZZ_CHECK(a.model.find(',') == std::string::npos);
    for (const AntennaLine::Band& b : a.bands) {
        FUZZ_CHECK(b.text.find_first_of(",/") == std::string::npos);
        FUZZ_CHECK(!b.offset || std::fabs(*b.offset) <= 32767.0f);
    }
    if (a.wellFormed || a.unknown) {
        FUZZ_CHECK(ParseAntennaLine(FormatAntennaLine(a)) == a);
    }
}

// The record takes what the line says and keeps the rest; the banners show it.
void checkDecoded(const fuzz::Probe& p, const AntennaLine& a, const AntennaRecord& was) {
    const AntennaRecord& r = p.st.antenna;
    FUZZ_CHECK(r.Ant_Model == (a.unknown ? "ANT UNKNOWN" : a.wellFormed ? a.model : was.Ant_Model));
    for (std::size_t i = 1; i <= 15; ++i) {
        const AntennaLine::Band* band = i <= a.bands.size() ? &a.bands[i - 1] : nullptr;
        FUZZ_CHECK(r.BandText[i] == (a.unknown ? "BAND " + ZeroPadded(static_cast<int>(i), 2)
                                     : band    ? band->text + " MHz"
                                               : was.BandText[i]));
        FUZZ_CHECK(r.BandOffset[i] == (a.unknown              ? 0.0f
                                       : band && band->offset ? *band->offset
                                                              : was.BandOffset[i]));
    }
    FUZZ_CHECK(fuzz::antennaEdgesUntouched(r));
    FUZZ_CHECK(p.window.at(El::Banner_Ant_Mod).text == r.Ant_Model);
    FUZZ_CHECK(p.window.at(El::Banner_Ant_Band).text == r.BandText[p.st.status.BandIndex]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Probe p;
    // Any band may be the one in use; the status decoder keeps it at 15 or below.
    p.st.status.BandIndex = static_cast<std::uint8_t>(size % 16);
    const std::string_view input = fuzz::bytes(data, size);
    for (std::size_t at = 0, n = 0; n < kMaxLines && at < input.size(); ++n) {
        const std::string line(input.substr(at, std::min(input.find('\n', at), size - 1) + 1 - at));
        at += line.size();
        const AntennaLine a = ParseAntennaLine(line);
        checkParsed(line, a);
        const AntennaRecord was = p.st.antenna;
        const int calls = p.window.calls;
        LoadAntSettings(p.st, a, true);
        FUZZ_CHECK(p.line.takeWritten() == "\r\n" && p.window.calls == calls + 2);
        checkDecoded(p, a, was);
    }
    return 0;
}
