#pragma once
// The settings module: "Kestrova.ini" and its backup "Kestrova.bak" in the settings folder,
// window placement from them at start-up, and the time-stamped status line.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/Clock.h"
#include "core/Display.h"
#include "settings/FileOps.h"
#include "settings/MainWindowPlacement.h"
#include "settings/MessageBoxes.h"

namespace kestrova {

// The settings file every caller names; its backup is "Kestrova.bak" beside it.
inline const std::string kSettingsFile = "Kestrova.ini";

enum class WriteResult {
    Written,     // both files hold the new content
    KeyMissing,  // "Err saving ini file" is on the status line; nothing was touched
    Failed,      // the file could not be read, is too long, or a write step failed
};

class Store {
  public:
    // The writer's table holds at most this many lines; longer files are never rewritten.
    static constexpr std::size_t kMaxLines = 1101;

    // endProgram is called once, when neither the settings file nor its backup can be read.
    Store(std::filesystem::path settingsFolder, Display& ui, MessageBoxes& boxes,
          const LocalClock& clock, MainWindowPlacement& window, FileOps& files,
          std::function<void()> endProgram);

    // The value of the first line beginning with Key; "" when there is none. Falls back to
    // the backup (and repairs the settings file from it) when the settings file cannot be
    // read or, with ReportMissing, lacks the key.
    std::string ReadIniValue(const std::string& FileName, const std::string& Key,
                             bool ReportMissing);

    // Rewrites every entry of Key with Value, backup first, each file replaced atomically.
    [[nodiscard]] WriteResult WriteIniValue(const std::string& FileName, const std::string& Key,
                                            const std::string& Value);

    // Hides the main window and, when CenterOnScreen is exactly "0", moves it to the stored
    // MainTop and MainLeft.
    void LoadWindowPosition();

    // Replaces each "&h" and two hex digits by that character; nothing when an "&h" is not
    // followed by a valid hex number.
    static std::optional<std::string> DecodeHexEscapes(std::string_view Text);

    // 1: "COM port error." in black; 2: "Err reading .ini file."; else "Unknown Error.".
    void ReportError(std::int16_t Code);

    // The status line: the local time "hh:mm:ss", "> " and the message, replacing the last.
    void ShowStatus(std::string_view message);

    // True once the fatal path has run; every call is then a no-op (reads return "").
    bool ended() const { return ended_; }

  private:
    std::string pathOf(const std::string& name) const;
    void fatal(const std::string& FileName);
    // Puts the backup's content back as the settings file and says so; false when it cannot.
    bool repairFrom(const std::string& backup, const std::string& content,
                    const std::string& FileName);

    std::filesystem::path folder_;
    Display& ui_;
    MessageBoxes& boxes_;
    const LocalClock& clock_;
    MainWindowPlacement& window_;
    FileOps& files_;
    std::function<void()> endProgram_;
    bool ended_ = false;
};

}  // namespace kestrova
