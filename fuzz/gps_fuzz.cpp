// The GPS decoder on an arbitrary receive buffer.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "display/Gps.h"
#include "fuzz/FuzzSupport.h"

namespace {

using namespace kestrova;
using kestrova::fuzz::ProbeDisplay;

constexpr El kLabels[] = {El::Banner_GPS_Sexa_Lat, El::Banner_GPS_Sexa_Lon,
                          El::Banner_GPS_Decimal_Lat, El::Banner_GPS_Decimal_Lon};

bool digits(std::string_view t, std::size_t n) {
    if (t.size() < n) {
        return false;
    }
    for (std::size_t i = 0; i < n; ++i) {
        if (!fuzz::isDigit(t[i])) {
            return false;
        }
    }
    return true;
}

// "dd° mm' ss.s\" H" with dd of degreeDigits digits and seconds below 60.
bool sexagesimal(std::string_view t, std::size_t degreeDigits, char plus, char minus) {
    if (!digits(t, degreeDigits)) {
        return false;
    }
    t.remove_prefix(degreeDigits);
    if (!t.starts_with("\xB0 ") || !digits(t.substr(2), 2)) {
        return false;
    }
    t.remove_prefix(4);
    if (!t.starts_with("' ") || t.size() != 2 + 4 + 3) {
        return false;
    }
    const std::string_view sec = t.substr(2, 4);
    if (!digits(sec, 2) || sec[0] > '5' || sec[2] != '.' || !fuzz::isDigit(sec[3])) {
        return false;
    }
    return t.substr(6, 2) == "\" " && (t[8] == plus || t[8] == minus);
}

// "dd° mm.ffff' H"
bool decimalMinutes(std::string_view t, std::size_t degreeDigits, char plus, char minus) {
    if (!digits(t, degreeDigits)) {
        return false;
    }
    t.remove_prefix(degreeDigits);
    return t.size() == 2 + 2 + 1 + 4 + 3 && t.starts_with("\xB0 ") && digits(t.substr(2), 2) &&
           t[4] == '.' && digits(t.substr(5), 4) && t.substr(9, 2) == "' " &&
           (t[11] == plus || t[11] == minus);
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

    GPSDisplay(st);
    FUZZ_CHECK(st.link.RxBuffer == packet);
    FUZZ_CHECK(line.written.empty());
    int set = 0;
    for (const El e : kLabels) {
        set += display.sets(e);
    }
    // A position is shown whole or not at all.
    FUZZ_CHECK(set == 0 || set == 4);
    if (set == 4) {
        FUZZ_CHECK(sexagesimal(display.text(El::Banner_GPS_Sexa_Lat), 2, 'N', 'S'));
        FUZZ_CHECK(sexagesimal(display.text(El::Banner_GPS_Sexa_Lon), 3, 'E', 'W'));
        FUZZ_CHECK(decimalMinutes(display.text(El::Banner_GPS_Decimal_Lat), 2, 'N', 'S'));
        FUZZ_CHECK(decimalMinutes(display.text(El::Banner_GPS_Decimal_Lon), 3, 'E', 'W'));
        // The hemisphere follows the sign character alone.
        FUZZ_CHECK((display.text(El::Banner_GPS_Sexa_Lat).back() == 'S') == (packet[1] == '-'));
        FUZZ_CHECK((display.text(El::Banner_GPS_Sexa_Lon).back() == 'W') == (packet[10] == '-'));
    }
    return 0;
}
