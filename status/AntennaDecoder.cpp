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
// Offsets feed 16-bit bearing arithmetic; anything beyond that is no offset.
constexpr double kMaxOffset = 32767.0;

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

}  // namespace

AntennaLine ParseAntennaLine(std::string_view data) {
    AntennaLine a;
    if (data.find(kUnknown, 1) != std::string_view::npos) {
        a.unknown = true;
        return a;
    }
    // Outside the grammar nothing is taken, so the record stays as it was shown.
    if (!data.ends_with(kLineEnd)) {
        return a;
    }
    const std::string_view body = data.substr(0, data.size() - kLineEnd.size());
    std::size_t c = body.find(',', 1);
    if (c == std::string_view::npos) {
        return a;
    }
    a.wellFormed = true;
    a.model = body.substr(1, c - 1);
    while (a.bands.size() < kLastBand) {
        std::size_t n = body.find(',', c + 1);
        const bool last = n == std::string_view::npos;
        if (last) {
            n = body.size();
        }
        const std::string_view entry = body.substr(c + 1, n - c - 1);
        const std::size_t slash = entry.find('/');
        if (slash == std::string_view::npos) {
            a.bands.push_back({std::string(entry), 0.0f});
        } else {
            a.bands.push_back(
                {std::string(entry.substr(0, slash)), offsetNumber(entry.substr(slash + 1))});
        }
        if (last) {
            break;
        }
        c = n;
    }
    return a;
}

void LoadAntSettings(Station& st, const std::string& AntData, bool Acknowledge) {
    const AntennaLine a = ParseAntennaLine(AntData);
    AntennaRecord& r = st.antenna;
    if (a.unknown) {
        r.Ant_Model.assign(kUnknown);
        for (std::size_t i = 1; i <= kLastBand; ++i) {
            r.BandText[i] = "BAND " + std::string(1, static_cast<char>('0' + i / 10)) +
                            static_cast<char>('0' + i % 10);
            r.BandOffset[i] = 0;
        }
    } else if (a.wellFormed) {
        r.Ant_Model = a.model;
        // Only the entries named are written: a longer list before keeps its tail.
        for (std::size_t i = 0; i < a.bands.size(); ++i) {
            r.BandText[i + 1] = a.bands[i].text + std::string(kMHz);
            if (a.bands[i].offset) {
                r.BandOffset[i + 1] = *a.bands[i].offset;
            }
        }
    }
    Draw_Ant_Model(st);
    Draw_Ant_Band(st);
    if (Acknowledge) {
        (void)st.Comm1.writeOutput(kLineEnd);
    }
}

}  // namespace kestrova
