#include "settings/Store.h"

#include <utility>

#include "core/Numbers.h"
#include "settings/AtomicReplace.h"
#include "settings/IniLines.h"

namespace kestrova {

namespace {

bool contains(const std::string& s, std::string_view part) {
    return s.find(part) != std::string::npos;
}

std::string replaceAll(std::string s, std::string_view from, std::string_view to) {
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at)) {
        s.replace(at, from.size(), to);
        at += to.size();
    }
    return s;
}

std::string backupName(const std::string& name) {
    return replaceAll(name, ".ini", ".bak");
}

int hexDigit(char c) {
    if (isDigit(c)) {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The first line of the content that begins with the key.
std::optional<std::string_view> keyLine(const std::string& content, const std::string& Key) {
    IniLines lines(content);
    for (std::string_view line; lines.next(line);) {
        if (StartsWithKey(line, Key)) {
            return line;
        }
    }
    return std::nullopt;
}

}  // namespace

Store::Store(std::filesystem::path settingsFolder, Display& ui, MessageBoxes& boxes,
             const LocalClock& clock, MainWindowPlacement& window, FileOps& files,
             std::function<void()> endProgram)
    : folder_(std::move(settingsFolder)),
      ui_(ui),
      boxes_(boxes),
      clock_(clock),
      window_(window),
      files_(files),
      endProgram_(std::move(endProgram)) {}

std::string Store::pathOf(const std::string& name) const {
    return (folder_ / name).string();
}

std::string Store::ReadIniValue(const std::string& FileName, const std::string& Key,
                                bool ReportMissing) {
    std::string name = FileName;
    while (!ended_) {
        std::string content;
        bool failed = !files_.readAll(pathOf(name), content);
        if (!failed) {
            if (const auto line = keyLine(content, Key)) {
                const std::optional<std::string> value = DecodeHexEscapes(ValueOfLine(*line));
                if (value && (!contains(name, ".bak") || repairFrom(name, content, FileName))) {
                    return *value;
                }
                failed = true;
            } else {
                if (!ReportMissing) {
                    return "";
                }
                ReportError(2);
                if (!contains(name, ".ini")) {
                    return "";
                }
            }
        }
        if (failed && !contains(name, ".ini")) {
            fatal(FileName);
            return "";
        }
        name = backupName(name);
    }
    return "";
}

bool Store::repairFrom(const std::string& backup, const std::string& content,
                       const std::string& FileName) {
    // A backup that cannot be put back counts as unreadable too.
    if (!ReplaceFileAtomically(files_, pathOf(replaceAll(backup, ".bak", ".ini")), content)) {
        return false;
    }
    boxes_.show("An error occured while trying to open '" + FileName +
                    "' file. Tavrel2 had to use the backup copy of the INI file. Please check "
                    "that the software is correctly installed in the computer and that the "
                    "computer is always closed properly.",
                "Fatal Error", BoxIcon::Critical);
    return true;
}

void Store::fatal(const std::string& FileName) {
    boxes_.show("An error occured while trying to open '" + FileName +
                    "' file and it's backup copy. Tavrel2 is going to close. Please check that "
                    "the software is correctly installed in the computer.",
                "Fatal Error", BoxIcon::Critical);
    ended_ = true;
    if (endProgram_) {
        endProgram_();
    }
}

WriteResult Store::WriteIniValue(const std::string& FileName, const std::string& Key,
                                 const std::string& Value) {
    // A CR or LF in the value would split the entry into lines of its own.
    if (ended_ || Value.find_first_of("\r\n") != std::string::npos) {
        return WriteResult::Failed;
    }
    std::string content;
    if (!files_.readAll(pathOf(FileName), content) || content.empty()) {
        return WriteResult::Failed;
    }
    std::string table;
    table.reserve(content.size() + Value.size() + 64);
    IniLines lines(content);
    table.append(lines.bom());
    std::string_view line;
    std::size_t n = 0;
    bool notFound = true;
    while (lines.next(line)) {
        if (++n > kMaxLines) {
            return WriteResult::Failed;  // refused whole: rewriting would drop lines
        }
        if (IsEntryFor(line, Key)) {
            table.append(Key).append("=").append(Value);
            notFound = false;
        } else {
            table.append(line);
        }
        table.append("\r\n");
    }
    if (notFound) {
        ShowStatus("Err saving ini file");
        return WriteResult::KeyMissing;
    }
    // The backup is complete on disk before the settings file is replaced.
    if (!ReplaceFileAtomically(files_, pathOf(backupName(FileName)), table) ||
        !ReplaceFileAtomically(files_, pathOf(FileName), table)) {
        return WriteResult::Failed;
    }
    return WriteResult::Written;
}

void Store::LoadWindowPosition() {
    if (ended_) {
        return;
    }
    window_.hide();
    if (ReadIniValue(kSettingsFile, "CenterOnScreen", true) != "0") {
        return;
    }
    if (ReadIniValue(kSettingsFile, "MainTop", true) != "") {
        if (auto top = RoundHalfAwayFromZero(
                LeadingNumber(ReadIniValue(kSettingsFile, "MainTop", true)))) {
            window_.setTop(*top);
        }
    }
    if (ReadIniValue(kSettingsFile, "MainLeft", true) != "") {
        if (auto left = RoundHalfAwayFromZero(
                LeadingNumber(ReadIniValue(kSettingsFile, "MainLeft", true)))) {
            window_.setLeft(*left);
        }
    }
}

std::optional<std::string> Store::DecodeHexEscapes(std::string_view Text) {
    // Left to right with the unread rest kept reversed as a stack: a decoded character goes
    // back on the stack, so an "&h" it forms with its neighbours is decoded again, as if the
    // search restarted from the beginning, but in linear time. `out` never holds an "&h".
    std::string pending(Text.rbegin(), Text.rend());
    std::string out;
    out.reserve(Text.size());
    while (!pending.empty()) {
        const char c = pending.back();
        pending.pop_back();
        if (c != 'h' || out.empty() || out.back() != '&') {
            out.push_back(c);
            continue;
        }
        const std::size_t taken = std::min<std::size_t>(2, pending.size());
        int code = 0;
        for (std::size_t i = 0; i < taken; ++i) {
            const int d = hexDigit(pending[pending.size() - 1 - i]);
            if (d < 0) {
                return std::nullopt;
            }
            code = code * 16 + d;
        }
        if (taken == 0) {
            return std::nullopt;
        }
        pending.resize(pending.size() - taken);
        out.pop_back();
        pending.push_back(static_cast<char>(code));
    }
    return out;
}

void Store::ReportError(std::int16_t Code) {
    if (ended_) {
        return;
    }
    switch (Code) {
        case 1:
            ShowStatus("COM port error.");
            ui_.setTextColour(El::StatusDisp, kBlack);
            break;
        case 2:
            ShowStatus("Err reading .ini file.");
            break;
        default:
            ShowStatus("Unknown Error.");
            break;
    }
}

void Store::ShowStatus(std::string_view message) {
    if (ended_) {
        return;
    }
    ui_.setText(El::StatusDisp, FormatTimeOfDay(clock_.now()) + "> " + std::string(message));
}

}  // namespace kestrova
