#include "settings/IniLines.h"

namespace kestrova {

namespace {

char upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool IniLines::next(std::string_view& line) {
    if (rest_.empty()) {
        return false;
    }
    const std::size_t cr = rest_.find('\r');
    if (cr == std::string_view::npos) {
        line = rest_;
        rest_ = {};
        return true;
    }
    line = rest_.substr(0, cr);
    const std::size_t skip = cr + 1 < rest_.size() && rest_[cr + 1] == '\n' ? 2 : 1;
    rest_.remove_prefix(cr + skip);
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
