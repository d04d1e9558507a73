#include "display/Gps.h"

#include <string>
#include <string_view>

#include "display/Fields.h"
#include "display/FormatDot.h"

namespace kestrova {

namespace {
constexpr std::size_t kGpsLength = 20;  // positions 1..20 hold every field

// One coordinate's fixed-width fields, 1-based positions.
struct Layout {
    std::size_t sign;
    std::size_t degrees;
    std::size_t degreesLen;
    std::size_t minutes;
    std::size_t fraction;
    char positive;
    char negative;
};
constexpr Layout kLat{2, 3, 2, 5, 7, 'N', 'S'};
constexpr Layout kLon{11, 12, 3, 15, 17, 'E', 'W'};
constexpr std::size_t kMinutesLen = 2;
constexpr std::size_t kFractionLen = 4;

bool digits(std::string_view line, std::size_t pos, std::size_t len) {
    int ignored = 0;
    return fields::digitField(line, pos, len, ignored);
}

bool wellFormed(std::string_view line, const Layout& f) {
    return digits(line, f.degrees, f.degreesLen) && digits(line, f.minutes, kMinutesLen) &&
           digits(line, f.fraction, kFractionLen);
}

// ffff ten-thousandths of a minute as seconds with one decimal. Worked exactly in
// thousandths: in single precision some halves (0.15, 8.85, ...) would come out just below
// and round down.
std::string secondsText(int fraction) {
    const int thousandths = fraction * 6;  // 0.ffff min x 60 = ffff x 0.006 s
    std::string exact = std::to_string(thousandths / 1000) + ".";
    const int rest = thousandths % 1000;
    exact += static_cast<char>('0' + rest / 100);
    exact += static_cast<char>('0' + rest / 10 % 10);
    exact += static_cast<char>('0' + rest % 10);
    std::string t = FormatDot(exact, "00.0");
    // Held below a full minute; nothing is carried into the minutes.
    if (t == "60.0") {
        t = "59.9";
    }
    return t;
}

struct Coordinate {
    std::string sexagesimal;
    std::string decimal;
};

Coordinate coordinate(std::string_view line, const Layout& f) {
    const std::string deg(line.substr(f.degrees - 1, f.degreesLen));
    const std::string min(line.substr(f.minutes - 1, kMinutesLen));
    const std::string frac(line.substr(f.fraction - 1, kFractionLen));
    const char hemisphere = line[f.sign - 1] == '-' ? f.negative : f.positive;
    int fraction = 0;
    fields::digitField(line, f.fraction, kFractionLen, fraction);
    Coordinate c;
    c.sexagesimal = deg + "\xB0 " + min + "' " + secondsText(fraction) + "\" " + hemisphere;
    c.decimal = deg + "\xB0 " + min + "." + frac + "' " + hemisphere;
    return c;
}
}  // namespace

bool GPSDisplay(Station& st) {
    // The packet ends at its first LF: the next packet in the buffer is none of our business.
    std::string_view line = st.RxBuffer;
    line = line.substr(0, line.find('\n'));
    // A position is shown whole or not at all, so the labels never mix two fixes.
    if (line.size() < kGpsLength || !wellFormed(line, kLat) || !wellFormed(line, kLon)) {
        return false;
    }
    const Coordinate lat = coordinate(line, kLat);
    const Coordinate lon = coordinate(line, kLon);
    st.ui.setText(El::Banner_GPS_Sexa_Lat, lat.sexagesimal);
    st.ui.setText(El::Banner_GPS_Sexa_Lon, lon.sexagesimal);
    st.ui.setText(El::Banner_GPS_Decimal_Lat, lat.decimal);
    st.ui.setText(El::Banner_GPS_Decimal_Lon, lon.decimal);
    return true;
}

void GPS_Blank(Station& st) {
    st.ui.setText(El::Banner_GPS_Sexa_Lat, "--\xB0  --'  --.-\" -");
    st.ui.setText(El::Banner_GPS_Sexa_Lon, "---\xB0  --'  --.-\" -");
    st.ui.setText(El::Banner_GPS_Decimal_Lat, "--\xB0  --.----'  -");
    st.ui.setText(El::Banner_GPS_Decimal_Lon, "---\xB0  --.----'  -");
}

}  // namespace kestrova
