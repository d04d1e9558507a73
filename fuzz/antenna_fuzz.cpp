// The antenna parser against a reading of its own and the decoder against the record. The
// input is cut after each LF and every piece is decoded in turn, as the dispatcher hands them
// over, so a short list follows a long one.

#include <cstdlib>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "status/AntennaDecoder.h"

namespace {

using namespace kestrova;

constexpr std::size_t kMaxLines = 16;

// A sign, digits with at most one point, blanks around; within 16 bits.
std::optional<float> offsetNumber(std::string_view f) {
    const std::size_t first = std::min(f.find_first_not_of(' '), f.size());
    const std::string t(f.substr(first, f.find_last_not_of(' ') + 1 - first));
    const std::size_t sign = t.starts_with('+') || t.starts_with('-') ? 1 : 0;
    const double v = std::strtod(t.c_str(), nullptr);
    if (t.find_first_of("0123456789") == std::string::npos || t.find('.') != t.rfind('.') ||
        t.find_first_not_of("0123456789.", sign) != std::string::npos || std::fabs(v) > 32767.0) {
        return std::nullopt;
    }
    return static_cast<float>(v);
}

// The line read afresh: "ANT UNKNOWN" anywhere after the type letter, or the model and up to
// 15 "text" or "text/offset" entries between commas, closed by CR LF.
void checkParsed(std::string_view line, const AntennaLine& a) {
    FUZZ_CHECK(a.unknown == (line.find("ANT UNKNOWN", 1) != std::string_view::npos));
    std::vector<std::string_view> fields;
    std::string_view rest = line.substr(std::min<std::size_t>(1, line.size()));
    for (std::size_t comma = 0; comma != std::string_view::npos; rest.remove_prefix(comma + 1)) {
        comma = rest.find(',');
        fields.push_back(rest.substr(0, comma));
    }
    const bool wellFormed = !a.unknown && line.ends_with("\r\n") && fields.size() > 1;
    FUZZ_CHECK(a.wellFormed == wellFormed && (!wellFormed || a.model == fields[0]));
    FUZZ_CHECK(a.bands.size() == (wellFormed ? std::min<std::size_t>(fields.size() - 1, 15) : 0));
    fields.back().remove_suffix(wellFormed ? 2 : 0);
    for (std::size_t i = 0; i < a.bands.size(); ++i) {
        const std::string_view entry = fields[i + 1];
        const std::size_t slash = entry.find('/');
        const auto offset = slash == std::string_view::npos ? std::optional<float>(0.0f)
                                                            : offsetNumber(entry.substr(slash + 1));
        FUZZ_CHECK(a.bands[i].text == entry.substr(0, slash) && a.bands[i].offset == offset);
    }
}

// The record takes what the line says and keeps the rest; the banners show it.
void checkDecoded(const fuzz::Probe& p, const AntennaLine& a, const AntennaRecord& was) {
    const AntennaRecord& r = p.st.antenna;
    FUZZ_CHECK(r.Ant_Model == (a.unknown ? "ANT UNKNOWN" : a.wellFormed ? a.model : was.Ant_Model));
    for (std::size_t i = 1; i <= 15; ++i) {
        const AntennaLine::Band* band = i <= a.bands.size() ? &a.bands[i - 1] : nullptr;
        const std::string placeholder = "BAND " + std::to_string(100 + i).substr(1);
        FUZZ_CHECK(r.BandText[i] == (a.unknown ? placeholder
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
        LoadAntSettings(p.st, line, true);
        FUZZ_CHECK(p.line.takeWritten() == "\r\n" && p.window.calls == calls + 2);
        checkDecoded(p, a, was);
    }
    return 0;
}
