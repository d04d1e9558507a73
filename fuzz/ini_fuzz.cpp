// The settings reader on arbitrary settings and backup files, in a folder made once per
// process.
//
// Input: byte 0 chooses the key (bits 0-2), ReportMissing (bit 3), whether the settings
// file (bit 4) and the backup (bit 5) exist, and whether the window is placed from them too
// (bit 6). The rest is the settings file up to the first NUL and the backup after it (the
// same text when there is no NUL).

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "settings/IniLines.h"
#include "settings/Store.h"

namespace {

using namespace kestrova;
using kestrova::fuzz::ProbeDisplay;

const char* const kKeys[] = {"RxCOMport", "AlwaysOnTop", "HideConfigButton", "CenterOnScreen",
                             "MainTop",   "MainLeft",    "PortDevice03",     "rxcomport"};

// Forcing files to the device would only slow the runs down; what is written is the same.
struct NoSyncFileOps : PosixFileOps {
    bool sync(int) override { return true; }
    bool syncFolder(const std::string&) override { return true; }
};

struct Boxes : MessageBoxes {
    void show(std::string_view text, std::string_view title, BoxIcon icon) override {
        FUZZ_CHECK(title == "Fatal Error" && icon == BoxIcon::Critical);
        (text.find("had to use the backup") != std::string_view::npos ? warnings : fatals)++;
    }
    int warnings = 0;
    int fatals = 0;
};

struct FixedClock : Clock {
    TimeOfDay timeOfDay() const override { return {14, 3, 7}; }
};

struct Window : MainWindowPlacement {
    void hide() override { hidden = true; }
    void setTop(int) override {}
    void setLeft(int) override {}
    bool hidden = false;
};

struct Folder {
    Folder() {
        // Memory-backed when there is one: every run writes the files afresh.
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "kestrova-fuzz-XXXXXX").string();
        FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
        path = pattern;
    }
    ~Folder() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    std::filesystem::path path;
};

const std::filesystem::path& folder() {
    static const Folder f;
    return f.path;
}

void put(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    FUZZ_CHECK(fd >= 0);
    FUZZ_CHECK(::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size()));
    ::close(fd);
}

std::optional<std::string> get(const std::string& path) {
    PosixFileOps files;
    std::string content;
    if (!files.readAll(path, content)) {
        return std::nullopt;
    }
    return content;
}

// The value as the file states it: the first line (ended by CR LF, a lone CR or a lone LF;
// a UTF-8 byte order mark before the first skipped) that begins with the key in any letter
// case, after its first "=", escapes decoded. Nothing when no line matches; an empty optional
// inside when the escapes are bad.
std::optional<std::optional<std::string>> stated(std::string_view content, std::string_view key) {
    if (content.substr(0, 3) == "\xEF\xBB\xBF") {
        content.remove_prefix(3);
    }
    while (!content.empty()) {
        std::size_t end = 0;
        while (end < content.size() && content[end] != '\r' && content[end] != '\n') {
            ++end;
        }
        const std::string_view line = content.substr(0, end);
        content = end == content.size()
                      ? std::string_view()
                      : content.substr(end + (content.substr(end, 2) == "\r\n" ? 2 : 1));
        bool match = line.size() >= key.size();
        for (std::size_t i = 0; match && i < key.size(); ++i) {
            auto up = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; };
            match = up(line[i]) == up(key[i]);
        }
        if (match) {
            const std::size_t eq = line.find('=');
            return fuzz::referenceDecode(
                std::string(eq == std::string_view::npos ? line : line.substr(eq + 1)));
        }
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::uint8_t control = data[0];
    const std::string key = kKeys[control & 7];
    const bool reportMissing = (control & 8) != 0;
    const bool haveIni = (control & 16) != 0;
    const bool haveBak = (control & 32) != 0;
    const bool placeWindow = (control & 64) != 0;
    const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
    const std::size_t nul = rest.find('\0');
    const std::string_view iniText = rest.substr(0, nul);
    const std::string_view bakText = nul == std::string_view::npos ? rest : rest.substr(nul + 1);

    const std::filesystem::path& dir = folder();
    const std::string ini = (dir / "Kestrova.ini").string();
    const std::string bak = (dir / "Kestrova.bak").string();
    ::unlink(ini.c_str());
    ::unlink(bak.c_str());
    if (haveIni) {
        put(ini, iniText);
    }
    if (haveBak) {
        put(bak, bakText);
    }

    ProbeDisplay display;
    Boxes boxes;
    FixedClock clock;
    Window window;
    NoSyncFileOps files;
    int ends = 0;
    Store store(dir, display, boxes, clock, window, files, [&ends] { ++ends; });

    const std::string value = store.ReadIniValue("Kestrova.ini", key, reportMissing);

    FUZZ_CHECK(ends <= 1 && store.ended() == (ends == 1) && boxes.fatals == ends);
    FUZZ_CHECK(boxes.warnings + boxes.fatals <= 1);
    if (ends == 1) {
        FUZZ_CHECK(value.empty());
    }
    const auto fromIni = haveIni ? stated(iniText, key) : std::nullopt;
    if (fromIni && *fromIni) {
        // The settings file answers: no box, no report, nothing rewritten.
        FUZZ_CHECK(value == **fromIni);
        FUZZ_CHECK(boxes.warnings == 0 && boxes.fatals == 0 && display.sets(El::StatusDisp) == 0);
    }
    if (boxes.warnings == 1) {
        // Answered from the backup, which was put back as the settings file.
        const auto fromBak = stated(bakText, key);
        FUZZ_CHECK(haveBak && fromBak && *fromBak && value == **fromBak);
        FUZZ_CHECK(get(ini) == std::string(bakText));
    } else if (haveIni) {
        FUZZ_CHECK(get(ini) == std::string(iniText));
    } else {
        FUZZ_CHECK(!get(ini));
    }
    if (haveBak) {
        FUZZ_CHECK(get(bak) == std::string(bakText));
    }
    if (display.sets(El::StatusDisp) > 0) {
        FUZZ_CHECK(display.text(El::StatusDisp) == "14:03:07> Err reading .ini file.");
    }

    if (placeWindow) {
        store.LoadWindowPosition();
        FUZZ_CHECK(window.hidden || store.ended());
    }
    // Replacing a file leaves no temporary behind.
    FUZZ_CHECK(::access((ini + ".tmp").c_str(), F_OK) != 0);
    FUZZ_CHECK(::access((bak + ".tmp").c_str(), F_OK) != 0);
    return 0;
}
