// The antenna decoder on arbitrary lines: the input is cut after each LF and every piece is
// decoded in turn, as the dispatcher hands them over, so a short list follows a long one.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/FuzzSupport.h"
#include "status/AntennaDecoder.h"

namespace {

using namespace kestrova;
using kestrova::fuzz::ProbeDisplay;

constexpr std::size_t kMaxLines = 16;

bool placeholder(const std::string& t, std::size_t i) {
    const std::string want =
        std::string("BAND ") + static_cast<char>('0' + i / 10) + static_cast<char>('0' + i % 10);
    return t == want;
}

// A band text decoded from a line: its entry up to any slash, then " MHz".
bool decodedBand(std::string_view t) {
    if (!t.ends_with(" MHz")) {
        return false;
    }
    t.remove_suffix(4);
    return t.find(',') == std::string_view::npos && t.find('/') == std::string_view::npos;
}

void checkRecord(const Station& st, const ProbeDisplay& d) {
    FUZZ_CHECK(fuzz::antennaEdgesUntouched(st));
    FUZZ_CHECK(st.antenna.Ant_Model.find(',') == std::string::npos);
    for (std::size_t i = 1; i <= 15; ++i) {
        FUZZ_CHECK(placeholder(st.antenna.BandText[i], i) || decodedBand(st.antenna.BandText[i]));
        const float off = st.antenna.BandOffset[i];
        FUZZ_CHECK(std::isfinite(off) && std::fabs(off) <= 32767.0f);
    }
    FUZZ_CHECK(d.text(El::Banner_Ant_Mod) == st.antenna.Ant_Model);
    FUZZ_CHECK(d.text(El::Banner_Ant_Band) == st.antenna.BandText[st.status.BandIndex]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::FakeSerialLine line;
    line.open();
    ProbeDisplay display;
    Station st(display, line);
    fuzz::startUp(st, display);
    // Any band may be the one in use; the status decoder keeps it at 15 or below.
    st.status.BandIndex = static_cast<std::uint8_t>(size % 16);

    const std::string_view input(reinterpret_cast<const char*>(data), size);
    std::size_t at = 0;
    for (std::size_t n = 0; n < kMaxLines && at < input.size(); ++n) {
        const std::size_t lf = input.find('\n', at);
        const std::size_t end = lf == std::string_view::npos ? input.size() : lf + 1;
        const std::string antData(input.substr(at, end - at));
        at = end;

        const int modelSets = display.sets(El::Banner_Ant_Mod);
        const int bandSets = display.sets(El::Banner_Ant_Band);
        LoadAntSettings(st, antData, true);
        FUZZ_CHECK(line.takeWritten() == "\r\n");
        FUZZ_CHECK(display.sets(El::Banner_Ant_Mod) == modelSets + 1);
        FUZZ_CHECK(display.sets(El::Banner_Ant_Band) == bandSets + 1);
        if (antData.find("ANT UNKNOWN", 1) != std::string::npos) {
            FUZZ_CHECK(st.antenna.Ant_Model == "ANT UNKNOWN");
            for (std::size_t i = 1; i <= 15; ++i) {
                FUZZ_CHECK(placeholder(st.antenna.BandText[i], i) &&
                           st.antenna.BandOffset[i] == 0.0f);
            }
        }
        checkRecord(st, display);
    }
    return 0;
}
