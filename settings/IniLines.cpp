#include "settings/IniLines.h"

namespace kestrova {

namespace {

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

IniLines::IniLines(std::string_view content) : rest_(content) {
    if (rest_.starts_with(kUtf8Bom)) {
        bom_ = rest_.substr(0, kUtf8Bom.size());
        rest_.remove_prefix(kUtf8Bom.size());
    }
}

bool IniLines::next(std::string_view& line) {
    if (rest_.empty()) {
        return false;
    }
    const std::size_t end = rest_.find_first_of("\r\n");
    if (end == std::string_view::npos) {
        line = rest_;
        rest_ = {};
        return true;
    }
    line = rest_.substr(0, end);
    const bool crlf = rest_[end] == '\r' && end + 1 < rest_.size() && rest_[end + 1] == '\n';
    rest_.remove_prefix(end + (crlf ? 2 : 1));
    return true;
}

bool StartsWithKey(std::string_view line, std::string_view key) {
    if (line.size() < key.size()) {
        return false;
    }
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (upper(line[i]) != upper(key[i])) {
            return false;
        }
    }
    return true;
}

std::string_view ValueOfLine(std::string_view line) {
    const std::size_t eq = line.find('=');
    return eq == std::string_view::npos ? line : line.substr(eq + 1);
}

bool IsEntryFor(std::string_view line, std::string_view key) {
    return StartsWithKey(line, key) && line.find('=') == key.size();
}

}  // namespace kestrova
