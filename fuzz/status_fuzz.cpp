// The status line on an arbitrary buffer: its record holds the line's own text and formats
// back to it, reads again to the same record, and the decoder keeps and answers what the
// record says, twice over without redrawing.

#include "fuzz/FuzzSupport.h"
#include "status/StatusDecoder.h"

namespace {

using namespace kestrova;
using S = StatusLine;

// The record is the line: its fields, formatted, are the line's text from character 2 on
// (whose final CR the record may leave out); each field reaches to its comma; and it reads
// back the same.
void checkParsed(std::string_view text, const S& r) {
    if (r.fieldsRead == 0) {
        FUZZ_CHECK(r == S{});
        return;
    }
    const std::string_view line = text.substr(0, std::min<std::size_t>(text.find('\n'), 255));
    const std::string f = FormatStatusLine(r);
    const std::string body = f.substr(1, f.size() - 3);
    FUZZ_CHECK(body == line.substr(1) || body + "\r" == line.substr(1));
    for (const std::string* field :
         {&r.opMode, &r.ifBw, &r.mount, &r.localRemote, &r.videoGain, &r.band, &r.mode}) {
        FUZZ_CHECK(!field->empty() && field->find(',', 1) == std::string::npos);
    }
    if (r.power.size() == 3) {
        FUZZ_CHECK(ParseStatusLine(f) == r);
    }
}

// The decoder keeps what the record says and answers as the protocol says.
void checkDecoded(const fuzz::Probe& p, const S& r, const DeviceStatus& was,
                  std::string_view reply) {
    const DeviceStatus& s = p.st.status;
    const bool some = r.fieldsRead > 0;
    const bool all = r.fieldsRead >= 7;
    FUZZ_CHECK(s.Op_Mode == (some ? r.opMode : was.Op_Mode) &&
               s.IF_BW == (some ? r.ifBw : was.IF_BW));
    FUZZ_CHECK(s.Local_Remote == (all ? r.localRemote : was.Local_Remote) &&
               s.Video_Gain == (all ? r.videoGain : was.Video_Gain));
    const bool mounted = all && r.mountIs != S::Mount::Other;
    FUZZ_CHECK(s.AntAirMount == (mounted ? r.mountIs == S::Mount::Air : was.AntAirMount));
    FUZZ_CHECK(s.BandIndex ==
               (all && r.bandIndex ? std::min<std::uint8_t>(*r.bandIndex, 15) : was.BandIndex));
    FUZZ_CHECK(s.DF_Enabled ==
               (r.fieldsRead == 8 ? r.modeIs == S::Mode::DirectionFinding : was.DF_Enabled));
    FUZZ_CHECK(reply == ReplyText(StatusReply(r)));
    if (r.fieldsRead == 8 && (r.powerIs == S::Power::LowBattery || r.powerIs == S::Power::Bright)) {
        FUZZ_CHECK(p.window.at(El::BatteryMeter).visible == (r.powerIs == S::Power::LowBattery));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::bytes(data, size);
    const S r = ParseStatusLine(text);
    checkParsed(text, r);
    fuzz::Probe p;
    const DeviceStatus was = p.st.status;
    ProcessStatusString(p.st, r);
    const std::string reply = p.line.takeWritten();
    checkDecoded(p, r, was, reply);

    // The same line again changes nothing, so nothing is redrawn but the battery icon, and the
    // band banner when the band was above 15 (it keeps 15).
    const testing::FakeWindow first = p.window;
    ProcessStatusString(p.st, r);
    FUZZ_CHECK(p.line.takeWritten() == reply);
    testing::FakeWindow again = p.window;
    again.at(El::BatteryMeter) = first.at(El::BatteryMeter);
    if (r.bandIndex > 15) {
        again.at(El::Banner_Ant_Band) = first.at(El::Banner_Ant_Band);
    }
    FUZZ_CHECK(again.elements == first.elements && again.needle == first.needle);
    return 0;
}
