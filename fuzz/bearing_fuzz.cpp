// The bearing packet's record against the packet's own characters and its formatter, the
// bearing decoders on the record, and the polar display with arbitrary arguments.
//
// Input: the packet (18 characters or more), then optionally 16 bytes of state:
//   0 band in use, 1-2 its offset (16-bit, in tenths or, with flag bit 0, hundredths),
//   3 flags (1 offset in hundredths, 2 air mount, 4 compass flag "N"),
//   4-5 compass heading (0..359, or 999), 6-7 x, 8-9 y, 10-11 offset, 12-13 heading,
//   14 relative and air-mount bits, 15 a length the parser is also read at,
// bytes 6 to 14 being the arguments of one direct Draw_Polar call.

#include <cstring>

#include "display/Bearing.h"
#include "display/Polar.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace kestrova;

constexpr std::size_t kState = 16;

std::int16_t i16(const std::uint8_t* p) {
    return static_cast<std::int16_t>(p[0] | p[1] << 8);
}

// Formatted, a record gives back the packet's characters where they make a field, and where
// they do not the field is absent (blanks, or "999" for the heading); it reads back the same.
void checkParsed(std::string_view p) {
    const BearingPacket b = ParseBearingPacket(p);
    FUZZ_CHECK(b.framed == (p.size() >= kBearingLength && p.substr(16, 2) == "\r\n"));
    FUZZ_CHECK(b.flag.has_value() == (p.size() >= 16));
    if (!b.flag) {
        return;
    }
    const std::string f = FormatBearingPacket(b);
    const auto field = [&](const std::optional<int>& v, std::size_t at, std::size_t n) {
        return v ? f.substr(at, n) == p.substr(at, n) : !AllDigits(p.substr(at, n));
    };
    FUZZ_CHECK(field(b.rawX, 1, 4) && field(b.rawY, 5, 4) && field(b.meterValue, 10, 2));
    const std::string_view heading = p.substr(12, 3);
    FUZZ_CHECK(b.heading != kNoCompass ? f.substr(12, 3) == heading
                                       : !(AllDigits(heading) && heading <= "359"));
    FUZZ_CHECK(f[9] == (p[9] == 'S' ? 'S' : 'T') && f[15] == p[15]);
    BearingPacket framed = b;
    framed.framed = true;
    FUZZ_CHECK(ParseBearingPacket(f) == framed);
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
    setState(p.st, s);
    const char flag = p.st.bearing.CompassFlag;
    const BearingPacket b = ParseBearingPacket(packet);
    for (int step = 0; step < 5; ++step) {
        if (step % 2 == 1) {
            DrawDigitalDOA(p.st);
        } else if (step == 2) {
            CompassUpdate(p.st, b);
        } else {
            DrawLine(p.st, b);
        }
        fuzz::checkBearing(p);
    }
    // Only a vector from two fields of four digits moves: four digits give -100..390.
    const BearingRecord& r = p.st.bearing;
    FUZZ_CHECK(b.rawX && b.rawY
                   ? r.VectX >= -100 && r.VectX <= 390 && r.VectY >= -100 && r.VectY <= 390
                   : r.VectX == 0 && r.VectY == 0 && p.window.needle.sets == 0);
    // The compass follows the packet; the banner says which mode.
    FUZZ_CHECK(r.CompassHeading == b.heading);
    FUZZ_CHECK(r.CompassFlag == (b.flag ? (*b.flag == 'P' ? 'P' : 'N') : flag));
    FUZZ_CHECK(p.window.at(El::Banner_RelBear).texts == 0 ||
               p.window.at(El::Banner_RelBear).text == (r.RelBearMode ? "REL" : "ABS"));
    FUZZ_CHECK(p.line.written.empty());

    // Draw_Polar on whatever 16-bit values: the needle is set, finite, and says how strong.
    p.window.needle.sets = 0;
    Draw_Polar(p.st, i16(s + 6), i16(s + 8), i16(s + 10), (s[14] & 1) != 0, i16(s + 12),
               (s[14] & 2) != 0);
    FUZZ_CHECK(fuzz::saneNeedle(p.window.needle));
    const float angle = XY_Angle(p.st, i16(s + 6), i16(s + 8));
    FUZZ_CHECK(angle >= 0.0f && angle < 360.0f);
    return 0;
}
