// The status parser against a reading of its own and the decoder against the record, on an
// arbitrary receive buffer decoded twice in a row.

#include <cstdlib>
#include <initializer_list>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "status/StatusDecoder.h"

namespace {

using namespace kestrova;
using Power = StatusLine::Power;

// Where t stands among the tokens, listed in the order of the record's enumeration; the
// number of tokens when it is none of them.
int token(std::string_view t, std::initializer_list<std::string_view> tokens) {
    return static_cast<int>(std::find(tokens.begin(), tokens.end(), t) - tokens.begin());
}

// Digits with blanks around them, 0..255.
std::optional<std::uint8_t> bandNumber(std::string_view f) {
    const std::size_t first = std::min(f.find_first_not_of(' '), f.size());
    const std::string digits(f.substr(first, f.find_last_not_of(' ') + 1 - first));
    const unsigned long value = std::strtoul(digits.c_str(), nullptr, 10);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos ||
        value > 255) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

// The head line (at most 255 characters) read afresh: from its second character on, fields 1
// to 7 each run to a comma (their first character may itself be one), then the power token.
void checkParsed(std::string_view text, const StatusLine& r) {
    const std::size_t lf = text.find('\n');
    const std::string_view line = text.substr(0, std::min<std::size_t>(lf, 255));
    std::vector<std::string_view> f;
    std::size_t from = 1;
    for (std::size_t c = 0; lf != std::string_view::npos && f.size() < 7 &&
                            (c = line.find(',', from + 1)) != std::string_view::npos;
         from = c + 1) {
        f.push_back(line.substr(from, c - from));
    }
    const bool seven = f.size() == 7;
    f.resize(7);
    const int mode = token(f[6], {"HNT", "RCV"});
    const int read = !seven ? 0 : f[2].size() != 3 ? 2 : mode == 2 ? 7 : 8;
    FUZZ_CHECK(r.fieldsRead == read);
    FUZZ_CHECK(read == 0 || (r.opMode == f[0] && r.ifBw == f[1]));
    if (read < 7) {
        return;
    }
    FUZZ_CHECK(static_cast<int>(r.mount) == token(f[2], {"AIR", "GND"}));
    FUZZ_CHECK(r.localRemote == f[3] && r.videoGain == f[4] && r.band == bandNumber(f[5]));
    FUZZ_CHECK(static_cast<int>(r.mode) == mode);
    FUZZ_CHECK(static_cast<int>(r.power) ==
               (read == 8 ? token(line.substr(from, 3), {"BAT", "BRT", "DIM", "CLS"}) : 4));
}

// The decoder keeps what the record says and answers: nothing without a mount token, a
// rejection for an unknown mode or power, an acknowledgement otherwise.
void checkDecoded(const fuzz::Probe& p, const StatusLine& r, const DeviceStatus& was,
                  std::string_view reply) {
    const DeviceStatus& s = p.st.status;
    const bool some = r.fieldsRead > 0;
    const bool all = r.fieldsRead >= 7;
    FUZZ_CHECK(s.Op_Mode == (some ? r.opMode : was.Op_Mode) &&
               s.IF_BW == (some ? r.ifBw : was.IF_BW));
    FUZZ_CHECK(s.Local_Remote == (all ? r.localRemote : was.Local_Remote) &&
               s.Video_Gain == (all ? r.videoGain : was.Video_Gain));
    const bool mounted = all && r.mount != StatusLine::Mount::Other;
    FUZZ_CHECK(s.AntAirMount == (mounted ? r.mount == StatusLine::Mount::Air : was.AntAirMount));
    FUZZ_CHECK(s.BandIndex ==
               (all && r.band ? std::min<std::uint8_t>(*r.band, 15) : was.BandIndex));
    FUZZ_CHECK(s.DF_Enabled ==
               (r.fieldsRead == 8 ? r.mode == StatusLine::Mode::DirectionFinding : was.DF_Enabled));
    FUZZ_CHECK(reply == (!all                                             ? ""
                         : r.fieldsRead == 8 && r.power != Power::Unknown ? "\r\n"
                                                                          : "\a\r\n"));
    if (r.power == Power::LowBattery || r.power == Power::Bright) {
        FUZZ_CHECK(p.window.at(El::BatteryMeter).visible == (r.power == Power::LowBattery));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::Probe p;
    p.st.link.RxBuffer.assign(fuzz::bytes(data, size));
    const StatusLine r = ParseStatusLine(p.st.link.RxBuffer);
    checkParsed(p.st.link.RxBuffer, r);
    const DeviceStatus was = p.st.status;
    ProcessStatusString(p.st);
    const std::string reply = p.line.takeWritten();
    checkDecoded(p, r, was, reply);

    // The same line again changes nothing, so nothing is redrawn but the battery icon, and the
    // band banner when the band was above 15 (it keeps 15).
    const testing::FakeWindow first = p.window;
    ProcessStatusString(p.st);
    FUZZ_CHECK(p.line.takeWritten() == reply && p.st.link.RxBuffer == fuzz::bytes(data, size));
    testing::FakeWindow again = p.window;
    again.at(El::BatteryMeter) = first.at(El::BatteryMeter);
    if (r.band > 15) {
        again.at(El::Banner_Ant_Band) = first.at(El::Banner_Ant_Band);
    }
    FUZZ_CHECK(again.elements == first.elements && again.needle == first.needle);
    return 0;
}
