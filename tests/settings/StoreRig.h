#pragma once
// A Store on a fresh temporary folder, with every collaborator recorded, and a file seam
// that can fail one step or "die" at a step.

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "settings/Store.h"
#include "tests/fakes/FakeWindow.h"
#include "tests/fakes/MemoryFile.h"

namespace kestrova::testing {

namespace fs = std::filesystem;
using OptText = std::optional<std::string>;
using Str = const std::string&;

struct Box {
    std::string text, title;
    BoxIcon icon;
    bool operator==(const Box&) const = default;
    friend std::ostream& operator<<(std::ostream& o, const Box& b) { return o << b.text; }
};

struct BoxRecorder : MessageBoxes {
    void show(std::string_view text, std::string_view title, BoxIcon icon) override {
        boxes.push_back({std::string(text), std::string(title), icon});
    }
    std::vector<Box> boxes;
};

struct WindowRecorder : MainWindowPlacement {
    void hide() override { hidden = true; }
    void setTop(int t) override { top = t; }
    void setLeft(int l) override { left = l; }
    bool hidden = false;
    std::optional<int> top, left;
};

// Counts every step. From step failAt on, steps fail: only that one (a passing fault) or,
// with die, every later one too (the process died there). A failing write leaves half
// of its data behind, as a write cut off by power loss would.
struct FlakyFileOps : FileOps {
    bool fails() { return ++steps == failAt || (die && failAt > 0 && steps >= failAt); }
    bool readAll(Str p, std::string& c) override { return !fails() && real.readAll(p, c); }
    int create(Str p) override { return fails() ? -1 : real.create(p); }
    bool write(int fd, std::string_view d) override {
        return fails() ? (real.write(fd, d.substr(0, d.size() / 2)), false) : real.write(fd, d);
    }
    bool sync(int fd) override { return !fails() && real.sync(fd); }
    bool close(int fd) override {
        const bool failed = fails();
        return real.close(fd) && !failed;  // the descriptor is gone either way
    }
    bool rename(Str f, Str t) override { return !fails() && real.rename(f, t); }
    bool remove(Str p) override { return !fails() && real.remove(p); }
    bool syncFolder(Str f) override { return !fails() && real.syncFolder(f); }

    PosixFileOps real;
    int steps = 0, failAt = 0;
    bool die = false;
};

struct StoreRig {
    // Puts each given content in place as the settings file and its backup.
    explicit StoreRig(const OptText& ini = {}, const OptText& bak = {}) {
        put("Kestrova.ini", ini);
        put("Kestrova.bak", bak);
    }
    ~StoreRig() {
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    void put(Str name, const OptText& bytes) {
        if (bytes) {
            std::ofstream(folder / name, std::ios::binary) << *bytes;
        }
    }
    // The file's bytes; nothing when it does not exist.
    OptText get(Str name) const {
        std::ifstream in(folder / name, std::ios::binary);
        return in ? OptText(std::string(std::istreambuf_iterator<char>(in), {})) : std::nullopt;
    }
    std::string read(Str key) { return store.ReadIniValue("Kestrova.ini", key, true); }
    WriteResult write(Str key, Str v) { return store.WriteIniValue("Kestrova.ini", key, v); }
    std::string status() const { return display.text(El::StatusDisp); }
    long statusWrites() const { return display.at(El::StatusDisp).texts; }
    long filesInFolder() const { return std::distance(fs::directory_iterator(folder), {}); }

    fs::path folder = [] {
        std::string pattern = (fs::temp_directory_path() / "kestrova-XXXXXX").string();
        return fs::path(mkdtemp(pattern.data()));
    }();
    FakeWindow display;
    BoxRecorder boxes;
    HandLocalClock clock;
    WindowRecorder window;
    FlakyFileOps files;
    int endCalls = 0;
    Store store{folder, display, boxes, clock, window, files, [this] { ++endCalls; }};
};

inline const std::string kWarning =
    "An error occured while trying to open 'Kestrova.ini' file. "
    "Tavrel2 had to use the backup copy of the INI file. Please check that the software is "
    "correctly installed in the computer and that the computer is always closed properly.";
inline const std::string kFatal =
    "An error occured while trying to open 'Kestrova.ini' file "
    "and it's backup copy. Tavrel2 is going to close. Please check that the software is "
    "correctly installed in the computer.";

}  // namespace kestrova::testing
