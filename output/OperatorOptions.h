#pragma once
// The operator's optional outputs: the recording of the line and the bearing log. Both are
// off unless the command line or the settings file names a file.

#include <functional>
#include <string>
#include <string_view>

namespace kestrova {

struct OperatorOptions {
    std::string recordFile;      // "--record FILE", RecordFile=; empty: off
    std::string bearingLogFile;  // "--bearing-log FILE", BearingLogFile=; empty: off
    friend bool operator==(const OperatorOptions&, const OperatorOptions&) = default;
};

// Settings keys, with their "=" so that no longer key matches.
inline constexpr char kRecordFileKey[] = "RecordFile=";
inline constexpr char kBearingLogFileKey[] = "BearingLogFile=";

// Checks the value given to a command-line option that names an output file ("--record",
// "--bearing-log"): "" when it will do, otherwise the error to print. Whether the file can be
// written is found out when the program starts, and reported on the status line.
std::string CheckOutputFileOption(std::string_view option, std::string_view value);

// The options in effect. A file named on the command line wins over the settings key;
// a relative path in the settings file counts from the program folder (where the settings
// file is), one on the command line from the current folder. `readSetting` returns a key's
// value, "" when it is missing.
OperatorOptions ResolveOperatorOptions(
    const OperatorOptions& commandLine,
    const std::function<std::string(const std::string&)>& readSetting,
    const std::string& programFolder);

}  // namespace kestrova
