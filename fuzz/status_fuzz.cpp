// The status decoder on an arbitrary receive buffer, decoded twice in a row.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz/FuzzSupport.h"
#include "status/StatusDecoder.h"

namespace {

using namespace kestrova;
using kestrova::fuzz::ProbeDisplay;

constexpr El kBanners[] = {El::Banner_Op_Mode,    El::Banner_IF_BW,    El::Banner_Local_Remote,
                           El::Banner_Video_Gain, El::Banner_Ant_Band, El::FrameDFOff};

void checkRecord(const Station& st, const ProbeDisplay& d) {
    FUZZ_CHECK(st.status.BandIndex <= 15);
    FUZZ_CHECK(fuzz::antennaEdgesUntouched(st));
    // Each banner shows the value just stored.
    FUZZ_CHECK(d.sets(El::Banner_Op_Mode) == 0 || d.text(El::Banner_Op_Mode) == st.status.Op_Mode);
    FUZZ_CHECK(d.sets(El::Banner_IF_BW) == 0 || d.text(El::Banner_IF_BW) == st.status.IF_BW);
    FUZZ_CHECK(d.sets(El::Banner_Local_Remote) == 0 ||
               d.text(El::Banner_Local_Remote) == st.status.Local_Remote);
    FUZZ_CHECK(d.sets(El::Banner_Video_Gain) == 0 ||
               d.text(El::Banner_Video_Gain) == st.status.Video_Gain);
    FUZZ_CHECK(d.sets(El::Banner_Ant_Band) == 0 ||
               d.text(El::Banner_Ant_Band) == st.antenna.BandText[st.status.BandIndex]);
    FUZZ_CHECK(d.isVisible(El::FrameDFOff) == !st.status.DF_Enabled);
    // Field values never reach past the line's end.
    const std::size_t lf = st.link.RxBuffer.find('\n');
    const std::size_t lineLength = lf == std::string::npos ? 0 : lf;
    FUZZ_CHECK(st.status.Op_Mode.size() <= lineLength && st.status.IF_BW.size() <= lineLength &&
               st.status.Local_Remote.size() <= lineLength &&
               st.status.Video_Gain.size() <= lineLength);
    if (d.needleSets > 0) {
        FUZZ_CHECK(fuzz::saneNeedle(d));
    }
}

bool validReply(const std::string& w) {
    return w.empty() || w == "\r\n" || w == "\a\r\n";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    testing::FakeSerialLine line;
    line.open();
    ProbeDisplay display;
    Station st(display, line);
    fuzz::startUp(st, display);
    st.link.RxBuffer.assign(reinterpret_cast<const char*>(data), size);
    const std::string packet = st.link.RxBuffer;

    ProcessStatusString(st);
    FUZZ_CHECK(st.link.RxBuffer == packet);
    const std::string firstReply = line.takeWritten();
    FUZZ_CHECK(validReply(firstReply));
    checkRecord(st, display);

    // The same line again changes nothing, so no banner is redrawn; only a band above 15,
    // which the banner held at 15, differs again.
    const ProbeDisplay afterFirst = display;
    ProcessStatusString(st);
    FUZZ_CHECK(st.link.RxBuffer == packet);
    FUZZ_CHECK(line.takeWritten() == firstReply);
    for (const El e : kBanners) {
        if (e == El::Banner_Ant_Band && st.status.BandIndex == 15) {
            continue;
        }
        FUZZ_CHECK(display.sets(e) == afterFirst.sets(e));
        FUZZ_CHECK(display.visibleSets[ProbeDisplay::idx(e)] ==
                   afterFirst.visibleSets[ProbeDisplay::idx(e)]);
    }
    FUZZ_CHECK(display.pictureLoads == afterFirst.pictureLoads);
    checkRecord(st, display);
    return 0;
}
