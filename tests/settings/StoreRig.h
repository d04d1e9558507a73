#pragma once
// A Store on a fresh temporary folder, with every collaborator recorded, and a file seam
// that can fail one step or "die" at a step.

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "settings/Store.h"
#include "tests/fakes/RecordingDisplay.h"

namespace kestrova::testing {

struct Box {
    std::string text, title;
    BoxIcon icon;
};

struct BoxRecorder : MessageBoxes {
    void show(std::string_view text, std::string_view title, BoxIcon icon) override {
        boxes.push_back({std::string(text), std::string(title), icon});
    }
    std::vector<Box> boxes;
};

struct FixedClock : Clock {
    TimeOfDay timeOfDay() const override { return now; }
    TimeOfDay now{14, 3, 7};
};

struct WindowRecorder : MainWindowPlacement {
    void hide() override { hidden = true; }
    void setTop(int t) override { top = t; }
    void setLeft(int l) override { left = l; }
    bool hidden = false;
    std::optional<int> top, left;
};

// Counts every step. From step failAt on, steps fail: only that one (a passing fault) or,
// with dieAt, every later one too (the process died there). A failing write leaves half
// of its data behind, as a write cut off by power loss would.
struct FlakyFileOps : FileOps {
    bool fails() {
        ++steps;
        return steps == failAt || (die && failAt > 0 && steps >= failAt);
    }
    bool readAll(const std::string& p, std::string& c) override {
        return !fails() && real.readAll(p, c);
    }
    int create(const std::string& p) override { return fails() ? -1 : real.create(p); }
    bool write(int fd, std::string_view d) override {
        if (fails()) {
            real.write(fd, d.substr(0, d.size() / 2));
            return false;
        }
        return real.write(fd, d);
    }
    bool sync(int fd) override { return !fails() && real.sync(fd); }
    bool close(int fd) override {
        const bool failed = fails();
        return real.close(fd) && !failed;  // the descriptor is gone either way
    }
    bool rename(const std::string& f, const std::string& t) override {
        return !fails() && real.rename(f, t);
    }
    bool remove(const std::string& p) override { return !fails() && real.remove(p); }
    bool syncFolder(const std::string& f) override { return !fails() && real.syncFolder(f); }

    PosixFileOps real;
    int steps = 0;
    int failAt = 0;
    bool die = false;
};

struct StoreRig {
    static std::filesystem::path makeFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-XXXXXX").string();
        return mkdtemp(pattern.data());
    }
    ~StoreRig() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    void put(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    // The file's bytes; nothing when it does not exist.
    std::optional<std::string> get(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        if (!in) {
            return std::nullopt;
        }
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string read(const std::string& key, bool reportMissing = true) {
        return store.ReadIniValue("Kestrova.ini", key, reportMissing);
    }
    std::string status() const { return display.text(El::StatusDisp); }
    int statusWrites() const {
        int n = 0;
        for (const auto& entry : display.log) {
            n += entry.rfind("text StatusDisp=", 0) == 0;
        }
        return n;
    }

    std::filesystem::path folder = makeFolder();
    RecordingDisplay display;
    BoxRecorder boxes;
    FixedClock clock;
    WindowRecorder window;
    FlakyFileOps files;
    int endCalls = 0;
    Store store{folder, display, boxes, clock, window, files, [this] { ++endCalls; }};
};

inline const std::string kWarning =
    "An error occured while trying to open 'Kestrova.ini' file. Tavrel2 had to use the backup "
    "copy of the INI file. Please check that the software is correctly installed in the "
    "computer and that the computer is always closed properly.";
inline const std::string kFatal =
    "An error occured while trying to open 'Kestrova.ini' file and it's backup copy. Tavrel2 "
    "is going to close. Please check that the software is correctly installed in the "
    "computer.";

}  // namespace kestrova::testing
