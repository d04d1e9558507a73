#include "app/ViewOptions.h"

#include <array>
#include <charconv>

#include "core/Numbers.h"
#include "settings/Ports.h"
#include "settings/Store.h"

namespace kestrova {

namespace {

std::string_view trimmed(std::string_view s) {
    return Trimmed(s, " \t");
}

// The whole text as one number of type T, nothing else around it.
template <class T>
std::optional<T> number(std::string_view text) {
    text = trimmed(text);
    T value{};
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end) {
        return std::nullopt;
    }
    return value;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool takeHistory(ViewOptions& o, std::string_view text) {
    const auto n = number<int>(text);
    if (!n || *n < 1 || *n > kMaxHistory) {
        return false;
    }
    o.history = *n;
    return true;
}

bool takePalette(ViewOptions& o, std::string_view text) {
    text = trimmed(text);
    if (equalsIgnoringCase(text, "night")) {
        o.palette = Palette::Night;
    } else if (equalsIgnoringCase(text, "day")) {
        o.palette = Palette::Day;
    } else {
        return false;
    }
    return true;
}

bool takeScale(ViewOptions& o, std::string_view text) {
    const auto f = number<double>(text);
    if (!f || !(*f >= kMinScale && *f <= kMaxScale)) {  // NaN fails too
        return false;
    }
    o.scale = *f;
    return true;
}

constexpr std::array<ViewOptionRow, 3> kRows{{
    {"--history", "History=", "a whole number from 1 to 360", &takeHistory,
     [](const ViewOptions& o) { return o.history.has_value(); }},
    {"--palette", "Palette=", "night or day", &takePalette,
     [](const ViewOptions& o) { return o.palette.has_value(); }},
    {"--scale", "Scale=", "a number from 1 to 3", &takeScale,
     [](const ViewOptions& o) { return o.scale.has_value(); }},
}};

}  // namespace

std::span<const ViewOptionRow> ViewOptionRows() {
    return kRows;
}

std::string TakeViewOption(ViewOptions& options, std::string_view option, std::string_view text) {
    for (const ViewOptionRow& row : kRows) {
        if (row.option == option) {
            if (row.take(options, text)) {
                return {};
            }
            return std::string(option) + " takes " + std::string(row.values) + ", not \"" +
                   std::string(text) + "\"";
        }
    }
    return std::string(option) + " is not a view option";
}

ViewOptions ResolveViewOptions(const ViewOptions& commandLine,
                               const std::function<std::string(const std::string&)>& readSetting,
                               const std::function<void(std::string_view)>& report) {
    ViewOptions o = commandLine;
    for (const ViewOptionRow& row : kRows) {
        if (row.given(commandLine) || !readSetting) {
            continue;
        }
        const std::string value = readSetting(std::string(row.key));
        if (trimmed(value).empty() || row.take(o, value)) {
            continue;
        }
        if (report) {
            report(std::string(row.key) + value + " ignored (" + std::string(row.values) + ")");
        }
    }
    return o;
}

ViewOptions ReadViewOptions(Store& store, const ViewOptions& commandLine) {
    return ResolveViewOptions(
        commandLine,
        [&store](const std::string& key) { return store.ReadIniValue(kSettingsFile, key, false); },
        [&store](std::string_view message) { store.ShowStatus(message); });
}

}  // namespace kestrova
