#include "status/AntennaDecoder.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>

#include "status/Banners.h"

namespace kestrova {

namespace {

constexpr std::string_view kUnknown = "ANT UNKNOWN";
constexpr std::string_view kMHz = " MHz";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kLastBand = 15;
// Offsets feed 16-bit bearing arithmetic; anything beyond that is no offset.
constexpr double kMaxOffset = 32767.0;

void loadPlaceholders(Station& st) {
    st.Ant_Model.assign(kUnknown);
    for (std::size_t i = 1; i <= kLastBand; ++i) {
        std::string& t = st.BandText[i];
        t.assign("BAND ");
        t.push_back(static_cast<char>('0' + i / 10));
        t.push_back(static_cast<char>('0' + i % 10));
        st.BandOffset[i] = 0;
    }
}

// A signed decimal number, blanks around it allowed: "-450", " 12 ", "+7", "12.5".
std::optional<float> offsetNumber(std::string_view f) {
    const std::size_t first = f.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return std::nullopt;
    }
    f = f.substr(first, f.find_last_not_of(' ') - first + 1);
    bool negative = false;
    if (f.front() == '+' || f.front() == '-') {
        negative = f.front() == '-';
        f.remove_prefix(1);
    }
    // Digits with at most one point and at least one digit; no exponent, "inf" or "nan".
    bool digit = false;
    bool point = false;
    for (const char ch : f) {
        if (ch >= '0' && ch <= '9') {
            digit = true;
        } else if (ch == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digit) {
        return std::nullopt;
    }
    double value = 0;
    const auto [end, ec] =
        std::from_chars(f.data(), f.data() + f.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != f.data() + f.size() || std::fabs(value) > kMaxOffset) {
        return std::nullopt;
    }
    return static_cast<float>(negative ? -value : value);
}

// Model, then up to 15 entries "text" or "text/offset". A line outside that grammar stores
// nothing, so the record stays as it was shown.
void decodeBands(Station& st, std::string_view data) {
    if (!data.ends_with(kLineEnd)) {
        return;
    }
    const std::string_view body = data.substr(0, data.size() - kLineEnd.size());
    std::size_t c = body.find(',', 1);
    if (c == std::string_view::npos) {
        return;
    }
    st.Ant_Model.assign(body.substr(1, c - 1));

    for (std::size_t i = 1; i <= kLastBand; ++i) {
        std::size_t n = body.find(',', c + 1);
        const bool last = n == std::string_view::npos;
        if (last) {
            n = body.size();
        }
        const std::string_view entry = body.substr(c + 1, n - c - 1);
        const std::size_t slash = entry.find('/');
        std::string& text = st.BandText[i];
        if (slash == std::string_view::npos) {
            st.BandOffset[i] = 0;
            text.assign(entry);
        } else {
            // A bad offset keeps the band's previous one; its text is still taken.
            if (const auto offset = offsetNumber(entry.substr(slash + 1))) {
                st.BandOffset[i] = *offset;
            }
            text.assign(entry.substr(0, slash));
        }
        text.append(kMHz);
        if (last) {
            break;
        }
        c = n;
    }
}

}  // namespace

void LoadAntSettings(Station& st, const std::string& AntData, bool Acknowledge) {
    if (AntData.find(kUnknown, 1) != std::string::npos) {
        loadPlaceholders(st);
    } else {
        decodeBands(st, AntData);
    }
    Draw_Ant_Model(st);
    Draw_Ant_Band(st);
    if (Acknowledge) {
        (void)st.Comm1.writeOutput(kLineEnd);
    }
}

}  // namespace kestrova
