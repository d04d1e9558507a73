// The settings reader on arbitrary settings and backup files kept in memory, against what
// the files say.
//
// Input: byte 0 chooses the key (bits 0-2), ReportMissing (bit 3), whether the settings
// file (bit 4) and the backup (bit 5) exist, and whether putting a file in place fails at its
// last step (bit 7). The rest is the settings file up to the first NUL and the backup after it
// (the same text when there is no NUL).

#include <strings.h>

#include <map>
#include <vector>

#include "fuzz/FuzzSupport.h"
#include "tests/settings/StoreRig.h"

namespace {

using namespace kestrova;
using namespace kestrova::testing;

const char* const kKeys[] = {"RxCOMport", "AlwaysOnTop", "HideConfigButton", "CenterOnScreen",
                             "MainTop",   "MainLeft",    "PortDevice03",     "rxcomport"};
const std::string kIni = "cfg/Kestrova.ini";
const std::string kBak = "cfg/Kestrova.bak";

// A folder in memory. The store writes one file at a time, so a descriptor is not needed to
// know which.
struct MemoryFiles : FileOps {
    bool readAll(Str path, std::string& content) override {
        const auto f = files.find(path);
        content = f == files.end() ? std::string() : f->second;
        return f != files.end();
    }
    int create(Str path) override {
        files[writing = path].clear();
        return 3;
    }
    bool write(int, std::string_view data) override { return files[writing].append(data), true; }
    bool sync(int) override { return true; }
    bool close(int) override { return true; }
    bool rename(Str from, Str to) override {
        const auto node = files.find(from);
        if (failRename || node == files.end()) {
            return false;
        }
        files[to] = node->second;
        return files.erase(from) == 1;
    }
    bool remove(Str path) override { return files.erase(path) == 1; }
    bool syncFolder(Str) override { return true; }

    std::map<std::string, std::string> files;
    std::string writing;
    bool failRename = false;
};

// What a file says about the key: nothing when no line (ended by CR LF, a lone CR or a lone
// LF; a UTF-8 byte order mark before the first skipped) begins with it in any letter case,
// else what follows the line's first "=", escapes decoded; an empty value inside when there
// is no file or an escape is bad.
using Said = std::optional<std::optional<std::string>>;

Said stated(const std::optional<std::string>& file, Str key) {
    if (!file) {
        return std::optional<std::string>();
    }
    std::string_view rest = *file;
    rest.remove_prefix(rest.starts_with("\xEF\xBB\xBF") ? 3 : 0);
    while (!rest.empty()) {
        const std::size_t end = std::min(rest.find_first_of("\r\n"), rest.size());
        const std::string_view line = rest.substr(0, end);
        rest.remove_prefix(std::min(rest.size(), end + (rest.substr(end, 2) == "\r\n" ? 2 : 1)));
        if (line.size() >= key.size() && ::strncasecmp(line.data(), key.c_str(), key.size()) == 0) {
            const std::size_t eq = line.find('=');
            // The decoding itself is the escapes harness's to check.
            return Store::DecodeHexEscapes(line.substr(eq == line.npos ? 0 : eq + 1));
        }
    }
    return std::nullopt;
}

// What the read must give: the settings file's value; else (after reporting a missing key,
// when asked to) the backup's, which is put back as the settings file, and the end when that
// fails or the backup cannot be read. A backup without the key gives "".
struct Outcome {
    std::string value;
    bool reported = false;
    std::vector<Box> boxes;
};

Outcome expected(const Said& ini, const Said& bak, bool report, bool replaceFails) {
    if (ini && *ini) {
        return {**ini, false, {}};
    }
    if (!ini && !report) {
        return {};
    }
    if (!bak) {
        return {"", report, {}};
    }
    if (!*bak || replaceFails) {
        return {"", !ini, {{kFatal, "Fatal Error", BoxIcon::Critical}}};
    }
    return {**bak, !ini, {{kWarning, "Fatal Error", BoxIcon::Critical}}};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string key = kKeys[data[0] & 7];
    const bool report = (data[0] & 8) != 0;
    const std::string_view rest = fuzz::bytes(data + 1, size - 1);
    const std::size_t nul = rest.find('\0');
    std::optional<std::string> ini, bak;
    MemoryFiles files;
    if (data[0] & 16) {
        files.files[kIni] = *(ini = std::string(rest.substr(0, nul)));
    }
    if (data[0] & 32) {
        files.files[kBak] = *(bak = std::string(rest.substr(nul == rest.npos ? 0 : nul + 1)));
    }
    files.failRename = (data[0] & 128) != 0;
    auto after = files.files;

    testing::FakeWindow display;
    display.logging = false;
    BoxRecorder boxes;
    testing::HandLocalClock clock;
    WindowRecorder window;
    int ends = 0;
    Store store("cfg", display, boxes, clock, window, files, [&ends] { ++ends; });
    const std::string value = store.ReadIniValue("Kestrova.ini", key, report);

    const Outcome want = expected(stated(ini, key), stated(bak, key), report, files.failRename);
    FUZZ_CHECK(value == want.value && boxes.boxes == want.boxes);
    const bool fatal = !want.boxes.empty() && want.boxes[0].text == kFatal;
    FUZZ_CHECK(ends == (fatal ? 1 : 0) && store.ended() == fatal);
    const testing::ElementState& status = display.at(El::StatusDisp);
    FUZZ_CHECK((status.texts > 0) == want.reported);
    FUZZ_CHECK(!want.reported || status.text == "14:03:07> Err reading .ini file.");
    // Only a repair changes a file, and no temporary file is left behind.
    if (!want.boxes.empty() && !fatal) {
        after[kIni] = *bak;
    }
    FUZZ_CHECK(files.files == after);

    return 0;
}
