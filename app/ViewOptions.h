#pragma once
// The operator's view options: bearing marks on the dial, the night palette and the window's
// scale. All off unless the command line or the settings file switches them on.

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "core/Display.h"

namespace kestrova {

class Store;

// What was asked for; an option left empty falls back to the settings file, then to its default.
struct ViewOptions {
    std::optional<int> history{};      // "--history N", History=N: readouts kept as marks
    std::optional<Palette> palette{};  // "--night", Palette=night|day
    std::optional<double> scale{};     // "--scale F", Scale=F
    friend bool operator==(const ViewOptions&, const ViewOptions&) = default;

    int historyLength() const { return history.value_or(0); }
    Palette colours() const { return palette.value_or(Palette::Day); }
    double factor() const { return scale.value_or(1.0); }
};

inline constexpr int kMaxHistory = 360;  // a minute and a half of readouts at full line rate
inline constexpr double kMinScale = 1.0;
inline constexpr double kMaxScale = 3.0;

// One option: its command-line and settings spellings, the values it takes in words, the
// parser that stores a good value (false, nothing stored, for a bad one), and whether a set
// of options holds a value for it. For the command-line parser's table.
struct ViewOptionRow {
    std::string_view option;  // "--history"
    std::string_view key;     // "History=", with its "=" so that no longer key matches
    std::string_view values;  // "a whole number from 1 to 360"
    bool (*take)(ViewOptions&, std::string_view text);
    bool (*given)(const ViewOptions&);
};
std::span<const ViewOptionRow> ViewOptionRows();

// Stores the value `text` given to the command-line option `option` ("--history",
// "--palette" or "--scale"); "" when taken, otherwise the message to print, such as
// "--history takes a whole number from 1 to 360, not "0"". "--night" is "--palette night".
std::string TakeViewOption(ViewOptions& options, std::string_view option, std::string_view text);

// The options in effect: the command line's, the rest from the settings file. `readSetting`
// returns a key's value ("" when missing); a bad value there is ignored and `report`ed, naming
// the key and the values it takes.
ViewOptions ResolveViewOptions(const ViewOptions& commandLine,
                               const std::function<std::string(const std::string&)>& readSetting,
                               const std::function<void(std::string_view)>& report);

// The same from the settings store: missing keys are normal, bad values go to the status line.
ViewOptions ReadViewOptions(Store& store, const ViewOptions& commandLine);

}  // namespace kestrova
