// The bearing packet's parser against a reading of its own, the bearing decoders on the packet
// against its record, and the polar display with arbitrary arguments.
//
// Input: the packet (18 characters or more), then optionally 16 bytes of state:
//   0 band in use, 1-2 its offset (16-bit, in tenths or, with flag bit 0, hundredths),
//   3 flags (1 offset in hundredths, 2 air mount, 4 compass flag "N"),
//   4-5 compass heading (0..359, or 999), 6-7 x, 8-9 y, 10-11 offset, 12-13 heading,
//   14 relative and air-mount bits, 15 a length the parser is also read at,
// bytes 6 to 14 being the arguments of one direct Draw_Polar call.

#include <cstdlib>
#include <cstring>

#include "core/BearingPacket.h"
#include "display/Bearing.h"
#include "display/Polar.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace kestrova;

constexpr std::size_t kState = 16;

std::int16_t i16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(p[0] | p[1] << 8);
}

// The plain digits at 1-based position pos, as a number.
std::optional<int> digitsAt(std::string_view p, std::size_t pos, std::size_t len) {
    const std::string f(p.substr(std::min(pos - 1, p.size()), len));
    if (f.size() < len || f.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    return std::atoi(f.c_str());
}

void checkParsed(std::string_view p) {
    const BearingPacket b = ParseBearingPacket(p);
    FUZZ_CHECK(b.framed == (p.size() >= kBearingLength && p.substr(16, 2) == "\r\n"));
    FUZZ_CHECK(b.rawX == digitsAt(p, 2, 4) && b.rawY == digitsAt(p, 6, 4));
    FUZZ_CHECK(b.signalMeter == (p.size() >= 10 && p[9] == 'S'));
    FUZZ_CHECK(b.meterValue == digitsAt(p, 11, 2));
    const std::optional<int> heading = digitsAt(p, 13, 3);
    FUZZ_CHECK(b.heading == (heading && *heading <= 359 ? *heading : kNoCompass));
    FUZZ_CHECK(b.flag == (p.size() >= 16 ? std::optional<char>(p[15]) : std::nullopt));
}

void setState(Station& st, const std::uint8_t* s) {
    st.status.BandIndex = s[0];
    if (st.status.BandIndex >= 1 && st.status.BandIndex <= 15) {
        st.antenna.BandOffset[st.status.BandIndex] =
            static_cast<float>(i16(s + 1)) / (s[3] & 1 ? 100.0f : 1.0f);
    }
    st.status.AntAirMount = (s[3] & 2) != 0;
    st.bearing.CompassFlag = (s[3] & 4) ? 'N' : 'P';
    const int heading = (s[4] | s[5] << 8) % 361;
    st.bearing.CompassHeading = static_cast<std::int16_t>(heading == 360 ? kNoCompass : heading);
    st.bearing.RelBearMode = st.bearing.CompassHeading == kNoCompass;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < kBearingLength) {
        return 0;
    }
    const std::size_t length = size >= kBearingLength + kState ? size - kState : size;
    std::uint8_t s[kState] = {};
    std::memcpy(s, data + length, size - length);
    const std::string_view packet = fuzz::bytes(data, length);
    checkParsed(packet);
    checkParsed(packet.substr(0, s[15] % kBearingLength));

    fuzz::Probe p;
    p.st.link.RxBuffer.assign(packet);
    setState(p.st, s);
    const char flag = p.st.bearing.CompassFlag;
    for (void (*step)(Station&) :
         {DrawLine, DrawDigitalDOA, CompassUpdate, DrawDigitalDOA, DrawLine}) {
        step(p.st);
        fuzz::checkBearing(p);
    }
    // Only a vector from two fields of four digits moves: four digits give -100..390.
    const BearingPacket b = ParseBearingPacket(packet);
    const BearingRecord& r = p.st.bearing;
    FUZZ_CHECK(b.rawX && b.rawY
                   ? r.VectX >= -100 && r.VectX <= 390 && r.VectY >= -100 && r.VectY <= 390
                   : r.VectX == 0 && r.VectY == 0 && p.window.needle.sets == 0);
    // The compass follows the packet; the banner says which mode.
    FUZZ_CHECK(r.CompassHeading == b.heading);
    FUZZ_CHECK(r.CompassFlag == (b.flag ? (*b.flag == 'P' ? 'P' : 'N') : flag));
    FUZZ_CHECK(p.window.at(El::Banner_RelBear).texts == 0 ||
               p.window.at(El::Banner_RelBear).text == (r.RelBearMode ? "REL" : "ABS"));
    FUZZ_CHECK(p.st.link.RxBuffer == packet && p.line.written.empty());

    // Draw_Polar on whatever 16-bit values: the needle is set, finite, and says how strong.
    p.window.needle.sets = 0;
    Draw_Polar(p.st, i16(s + 6), i16(s + 8), i16(s + 10), (s[14] & 1) != 0, i16(s + 12),
               (s[14] & 2) != 0);
    FUZZ_CHECK(fuzz::saneNeedle(p.window.needle));
    const float angle = XY_Angle(p.st, i16(s + 6), i16(s + 8));
    FUZZ_CHECK(angle >= 0.0f && angle < 360.0f);
    return 0;
}
