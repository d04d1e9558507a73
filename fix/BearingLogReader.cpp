#include "fix/BearingLogReader.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "core/Numbers.h"
#include "fix/Geodesy.h"

namespace kestrova::fix {

namespace {

constexpr std::size_t kColumns = 7;          // time .. longitude
constexpr std::size_t kColumnsWithTrue = 8;  // and true_bearing
constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool digits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int value(std::string_view s) {
    int v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    return v;
}

// The fields of one CSV line; quotes hold commas, a doubled quote is one. Nothing for an
// unclosed quote.
std::optional<std::vector<std::string>> fields(std::string_view line) {
    std::vector<std::string> out(1);
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            out.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    if (quoted) {
        return std::nullopt;
    }
    return out;
}

// The readout as logged: three digits of whole degrees, then a dot when the tenths were 3 to
// 7. Without the dot they were 0, 1, 2, 8 or 9, whose mean is four tenths.
std::optional<double> readout(std::string_view s) {
    const bool dot = s.size() == 4 && s[3] == '.';
    if ((s.size() != 3 && !dot) || !digits(s.substr(0, 3)) || value(s.substr(0, 3)) > 359) {
        return std::nullopt;
    }
    return value(s.substr(0, 3)) + (dot ? 0.5 : 0.4);
}

// Both empty: no position; anything but a position on the globe other than 0,0: damaged.
bool position(std::string_view lat, std::string_view lon, std::optional<GeoPosition>& out) {
    out.reset();
    if (lat.empty() && lon.empty()) {
        return true;
    }
    const auto a = FiniteNumber(lat), b = FiniteNumber(lon);
    if (!a || !b) {
        return false;
    }
    const GeoPosition p{*a, *b};
    if (!OnGlobe(p) || IsNullIsland(p)) {
        return false;
    }
    out = p;
    return true;
}

// Milliseconds on one count, from a civil date (proleptic Gregorian), so that times order
// across months and years.
std::int64_t count(const LocalTime& l) {
    const int y = l.month <= 2 ? l.year - 1 : l.year;
    const int era = y / 400;
    const int yoe = y - era * 400;
    const int doy = (153 * (l.month + (l.month > 2 ? -3 : 9)) + 2) / 5 + l.day - 1;
    const std::int64_t days =
        std::int64_t{era} * 146097 + std::int64_t{yoe} * 365 + yoe / 4 - yoe / 100 + doy;
    return ((days * 24 + l.hour) * 60 + l.minute) * 60000 + std::int64_t{l.second} * 1000 +
           l.millisecond;
}

struct Row {
    std::int64_t time = 0;
    LocalTime local;
    std::optional<GeoPosition> at;
    std::optional<double> bearing;  // true
    bool absolute = false;
};

// One row of a log with `columns` columns; nothing when it is damaged.
std::optional<Row> row(const std::vector<std::string>& f, std::size_t columns, double declination) {
    if (f.size() != columns) {
        return std::nullopt;
    }
    Row r;
    const auto local = ParseLocalTime(f[0]);
    const auto shown = readout(f[1]);
    const bool mode = f[2] == "ABS" || f[2] == "REL";
    const bool signal = digits(f[3]) && f[3].size() <= 2;
    if (!local || !shown || !mode || !signal || !position(f[5], f[6], r.at)) {
        return std::nullopt;
    }
    r.time = count(*local);
    r.local = *local;
    r.absolute = f[2] == "ABS";
    if (columns == kColumnsWithTrue) {
        if (!f[7].empty()) {
            r.bearing = FiniteNumber(f[7]);
            if (!r.bearing || *r.bearing < 0 || *r.bearing >= 360) {
                return std::nullopt;
            }
        }
    } else if (r.absolute) {
        r.bearing = Wrap360(*shown + declination);
    }
    return r;
}

bool isHeader(const std::vector<std::string>& f) {
    return f.size() >= 2 && f[0] == "time" && f[1] == "bearing";
}

void take(const Row& r, const std::string& timeText, const LogOptions& o, LogContents& c) {
    if ((o.since && r.time < *o.since) || (o.until && r.time > *o.until)) {
        return;
    }
    ++c.rows;
    if (!r.at) {
        ++c.noPosition;
        return;
    }
    c.track.push_back({r.time, *r.at});
    if (!r.bearing) {
        ++c.noHeading;
        return;
    }
    c.bearings.push_back({r.time, timeText, r.local, *r.at, *r.bearing});
}

}  // namespace

std::optional<LocalTime> ParseLocalTime(std::string_view t) {
    // 2024-05-01 14:03:07.123
    if (t.size() < 19 || t[4] != '-' || t[7] != '-' || t[10] != ' ' || t[13] != ':' ||
        t[16] != ':') {
        return std::nullopt;
    }
    const std::string_view parts[] = {t.substr(0, 4),  t.substr(5, 2),  t.substr(8, 2),
                                      t.substr(11, 2), t.substr(14, 2), t.substr(17, 2)};
    const std::string_view fraction = t.size() > 19 ? t.substr(20) : std::string_view{};
    if (!std::all_of(std::begin(parts), std::end(parts), digits) ||
        (t.size() > 19 && (t[19] != '.' || fraction.size() > 3 || !digits(fraction)))) {
        return std::nullopt;
    }
    LocalTime l{value(parts[0]),
                value(parts[1]),
                value(parts[2]),
                value(parts[3]),
                value(parts[4]),
                value(parts[5]),
                fraction.empty() ? 0 : value(fraction)};
    for (std::size_t i = fraction.size(); i < 3 && !fraction.empty(); ++i) {
        l.millisecond *= 10;
    }
    if (l.year < 1 || l.month < 1 || l.month > 12 || l.day < 1 || l.day > 31 || l.hour > 23 ||
        l.minute > 59 || l.second > 60) {
        return std::nullopt;
    }
    return l;
}

std::optional<std::int64_t> ParseLogTime(std::string_view text) {
    const auto l = ParseLocalTime(text);
    return l ? std::optional(count(*l)) : std::nullopt;
}

void ReadBearingLog(std::string_view text, const LogOptions& options, LogContents& into) {
    if (text.starts_with(kBom)) {
        text.remove_prefix(kBom.size());
    }
    std::size_t columns = 0;  // from the last header; 0: each row by its own count
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.empty()) {
            continue;
        }
        const auto f = fields(line);
        if (f && isHeader(*f)) {
            columns = f->size();
            continue;
        }
        const std::size_t expect = columns != 0 ? columns : (f ? f->size() : 0);
        const bool known = expect == kColumns || expect == kColumnsWithTrue;
        const auto r = f && known ? row(*f, expect, options.declinationDegrees) : std::nullopt;
        if (!r) {
            ++into.damaged;
            continue;
        }
        take(*r, (*f)[0], options, into);
    }
}

void Finish(LogContents& c) {
    std::stable_sort(c.bearings.begin(), c.bearings.end(),
                     [](const LogBearing& a, const LogBearing& b) { return a.time < b.time; });
    std::stable_sort(c.track.begin(), c.track.end(),
                     [](const LogPoint& a, const LogPoint& b) { return a.time < b.time; });
}

}  // namespace kestrova::fix
