#include "output/OperatorOptions.h"

#include <filesystem>

#include "core/Numbers.h"

namespace kestrova {

namespace {

std::string_view trimmed(std::string_view s) {
    return Trimmed(s, " \t\r\n");
}

std::string fromSettings(const std::function<std::string(const std::string&)>& read,
                         const char* key, const std::string& folder) {
    const std::string value(trimmed(read ? read(key) : std::string()));
    if (value.empty()) {
        return {};
    }
    const std::filesystem::path p(value);
    return p.is_absolute() || folder.empty() ? value : (std::filesystem::path(folder) / p).string();
}

}  // namespace

std::string CheckOutputFileOption(std::string_view option, std::string_view value) {
    if (trimmed(value).empty()) {
        return std::string(option) + " needs a file name";
    }
    if (value.starts_with("-")) {
        return std::string(option) + " needs a file name, not \"" + std::string(value) +
               "\" (write ./" + std::string(value) + " for a file of that name)";
    }
    return {};
}

OperatorOptions ResolveOperatorOptions(
    const OperatorOptions& commandLine,
    const std::function<std::string(const std::string&)>& readSetting,
    const std::string& programFolder) {
    OperatorOptions o = commandLine;
    if (o.recordFile.empty()) {
        o.recordFile = fromSettings(readSetting, kRecordFileKey, programFolder);
    }
    if (o.bearingLogFile.empty()) {
        o.bearingLogFile = fromSettings(readSetting, kBearingLogFileKey, programFolder);
    }
    return o;
}

}  // namespace kestrova
