#include "display/Gps.h"

#include <string>
#include <string_view>

#include "core/FormatDot.h"
#include "core/Numbers.h"

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

std::optional<GpsCoordinate> coordinate(std::string_view line, const Layout& f) {
    const auto degrees = paddedField(line, f.degrees, f.degreesLen);
    const auto minutes = paddedField(line, f.minutes, kMinutesLen);
    const auto fraction = digitField(line, f.fraction, kFractionLen);
    if (!degrees || !minutes || !fraction) {
        return std::nullopt;
    }
    GpsCoordinate c;
    const bool negative = line[f.sign - 1] == '-';
    c.hemisphere = negative ? f.negative : f.positive;
    c.degrees = line.substr(f.degrees - 1, f.degreesLen);
    c.minutes = line.substr(f.minutes - 1, kMinutesLen);
    c.fraction = line.substr(f.fraction - 1, kFractionLen);
    c.value = SignedDegrees(*degrees, *minutes, *fraction, negative);
    return c;
}

// ffff ten-thousandths of a minute as seconds with one decimal. Worked exactly in
// thousandths: in single precision some halves (0.15, 8.85, ...) would come out just below
// and round down.
std::string secondsText(const std::string& fraction) {
    const int thousandths = std::stoi(fraction) * 6;  // 0.ffff min x 60 = ffff x 0.006 s
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

std::string sexagesimal(const GpsCoordinate& c) {
    return c.degrees + "\xB0 " + c.minutes + "' " + secondsText(c.fraction) + "\" " + c.hemisphere;
}

std::string decimalMinutes(const GpsCoordinate& c) {
    return c.degrees + "\xB0 " + c.minutes + "." + c.fraction + "' " + c.hemisphere;
}
}  // namespace

double SignedDegrees(int degrees, int minutes, int fraction, bool negative) {
    // Ten-thousandths of a minute, counted whole so that no digit is lost on the way.
    const double value = degrees + (minutes * 10000 + fraction) / 600000.0;
    return negative ? -value : value;
}

std::optional<GpsFix> ParseGpsPacket(std::string_view line) {
    // The packet ends at its first LF: the next packet in the buffer is none of our business.
    line = line.substr(0, line.find('\n'));
    if (line.size() < kGpsLength) {
        return std::nullopt;
    }
    auto lat = coordinate(line, kLat);
    auto lon = coordinate(line, kLon);
    if (!lat || !lon) {
        return std::nullopt;
    }
    return GpsFix{std::move(*lat), std::move(*lon)};
}

bool GPSDisplay(Station& st) {
    const auto fix = ParseGpsPacket(st.link.RxBuffer);
    if (!fix) {
        return false;
    }
    st.ui.setText(El::Banner_GPS_Sexa_Lat, sexagesimal(fix->lat));
    st.ui.setText(El::Banner_GPS_Sexa_Lon, sexagesimal(fix->lon));
    st.ui.setText(El::Banner_GPS_Decimal_Lat, decimalMinutes(fix->lat));
    st.ui.setText(El::Banner_GPS_Decimal_Lon, decimalMinutes(fix->lon));
    return true;
}

void GPS_Blank(Station& st) {
    for (std::size_t i = 0; i < kGpsLabels.size(); ++i) {
        st.ui.setText(kGpsLabels[i], kGpsBlank[i]);
    }
}

}  // namespace kestrova
