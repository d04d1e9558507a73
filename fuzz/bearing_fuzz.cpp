// The bearing decoders on one bearing packet, and the polar display with arbitrary arguments.
//
// Input: the packet (18 characters or more), then optionally 16 bytes of state:
//   0 band in use, 1-2 its offset (16-bit, in tenths or, with flag bit 0, hundredths),
//   3 flags (1 offset in hundredths, 2 air mount, 4 compass flag "N"),
//   4-5 compass heading (0..359, or 999), 6-7 x, 8-9 y, 10-11 offset, 12-13 heading,
//   14 relative and air-mount bits, 15 unused,
// the last ten bytes being the arguments of one direct Draw_Polar call.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "display/Bearing.h"
#include "display/Polar.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace kestrova;
using kestrova::fuzz::ProbeDisplay;

constexpr std::size_t kPacket = 18;
constexpr std::size_t kState = 16;

std::int16_t i16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(static_cast<std::uint16_t>(p[0] | (p[1] << 8)));
}

void checkState(const Station& st, const ProbeDisplay& d) {
    FUZZ_CHECK(st.bearing.SignalMag >= 0 && st.bearing.SignalMag <= 99);
    FUZZ_CHECK(st.bearing.DOA_Tenths >= 0 && st.bearing.DOA_Tenths <= 3599);
    // Four plain digits at most 9999 give -100..390.
    FUZZ_CHECK(st.bearing.VectX >= -100 && st.bearing.VectX <= 390 && st.bearing.VectY >= -100 &&
               st.bearing.VectY <= 390);
    FUZZ_CHECK((st.bearing.CompassHeading >= 0 && st.bearing.CompassHeading <= 359) ||
               st.bearing.CompassHeading == 999);
    FUZZ_CHECK(st.bearing.RelBearMode == (st.bearing.CompassHeading == 999));
    FUZZ_CHECK(st.bearing.CompassFlag == 'P' || st.bearing.CompassFlag == 'N');
    FUZZ_CHECK(d.text(El::Banner_RelBear) == (st.bearing.RelBearMode ? "REL" : "ABS") ||
               d.sets(El::Banner_RelBear) == 0);
    if (d.sets(El::DOA) > 0) {
        FUZZ_CHECK(fuzz::wellFormedDOA(d.text(El::DOA)));
    }
    if (d.needleSets > 0) {
        FUZZ_CHECK(fuzz::saneNeedle(d));
        FUZZ_CHECK(d.needleValue > -0.1 && d.needleValue < 360.1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kPacket) {
        return 0;
    }
    const bool withState = size >= kPacket + kState;
    const std::size_t packetLength = withState ? size - kState : size;
    std::uint8_t s[kState] = {};
    if (withState) {
        std::memcpy(s, data + packetLength, kState);
    }

    testing::FakeSerialLine line;
    line.open();
    ProbeDisplay display;
    Station st(display, line);
    fuzz::startUp(st, display);
    st.link.RxBuffer.assign(reinterpret_cast<const char*>(data), packetLength);

    st.status.BandIndex = s[0];
    if (st.status.BandIndex >= 1 && st.status.BandIndex <= 15) {
        const std::int16_t raw = i16(s + 1);
        st.antenna.BandOffset[st.status.BandIndex] =
            (s[3] & 1) ? static_cast<float>(raw) / 100.0f : raw;
    }
    st.status.AntAirMount = (s[3] & 2) != 0;
    st.bearing.CompassFlag = (s[3] & 4) ? 'N' : 'P';
    const int heading = static_cast<std::uint16_t>(s[4] | (s[5] << 8)) % 361;
    st.bearing.CompassHeading = static_cast<std::int16_t>(heading == 360 ? 999 : heading);
    st.bearing.RelBearMode = st.bearing.CompassHeading == 999;

    const std::string packet = st.link.RxBuffer;
    DrawLine(st);
    checkState(st, display);
    DrawDigitalDOA(st);
    checkState(st, display);
    CompassUpdate(st);
    checkState(st, display);
    DrawDigitalDOA(st);
    checkState(st, display);
    DrawLine(st);
    checkState(st, display);
    FUZZ_CHECK(st.link.RxBuffer == packet);
    FUZZ_CHECK(line.written.empty());

    // Draw_Polar on whatever 16-bit values: the needle is set, finite, and says how strong.
    const int before = display.needleSets;
    Draw_Polar(st, i16(s + 6), i16(s + 8), i16(s + 10), (s[14] & 1) != 0, i16(s + 12),
               (s[14] & 2) != 0);
    FUZZ_CHECK(display.needleSets == before + 1);
    FUZZ_CHECK(fuzz::saneNeedle(display));

    const float angle = XY_Angle(st, i16(s + 6), i16(s + 8));
    FUZZ_CHECK(angle >= 0.0f && angle < 360.0f);
    return 0;
}
