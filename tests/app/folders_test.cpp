#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <map>

#include "app/Folders.h"
#include "settings/FileOps.h"
#include "tests/settings/StoreRig.h"

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

enum Special { Plain, NoDefaults, HomeIsAFile };

// What a settings file can be, as one letter: U the user's settings, I the installed
// defaults, e empty, x damaged (no key in it), & a bad escape, r the user's but unreadable,
// d a folder, l a link to nowhere, - nothing.
const std::map<char, std::string> kContent = {{'U', "RxCOMport=7\n"},
                                              {'I', "RxCOMport=1\r\n"},
                                              {'e', ""},
                                              {'x', "\x01\x02 no key\r\n"},
                                              {'&', "RxCOMport=&h\r\n"}};

// Reads as the operator, who is not root: a file without read permission cannot be read.
struct OperatorFiles : PosixFileOps {
    bool readAll(const std::string& path, std::string& content) override {
        struct stat info {};
        return !(::stat(path.c_str(), &info) == 0 && (info.st_mode & 0444) == 0) &&
               PosixFileOps::readAll(path, content);
    }
};

// An installed tree and a home folder under one temporary folder:
// prefix/bin (the program), prefix/share/kestrova (its data), home/ and given/.
struct Tree {
    Tree() {
        for (const fs::path& p : {bin, share, home, root / "given"}) {
            fs::create_directories(p);
        }
        std::ofstream(share / "Kestrova.ini", std::ios::binary) << kContent.at('I');
        std::ofstream(bin / "kestrova", std::ios::binary) << "";
    }
    ~Tree() { fs::remove_all(root); }

    // Puts Kestrova.ini and Kestrova.bak into folder as the two letters say.
    void lay(const fs::path& folder, const std::string& kinds) const {
        if (kinds == "--") {
            return;
        }
        fs::create_directories(folder);
        for (std::size_t i = 0; i < 2; ++i) {
            const fs::path p = folder / (i == 0 ? "Kestrova.ini" : "Kestrova.bak");
            const char k = kinds[i];
            if (k == 'd') {
                fs::create_directory(p);
            } else if (k == 'l') {
                fs::create_symlink(root / "nowhere", p);
            } else if (k != '-') {
                std::ofstream(p, std::ios::binary) << kContent.at(k == 'r' ? 'U' : k);
            }
            if (k == 'r') {
                fs::permissions(p, fs::perms::none);
            }
        }
    }
    // The two letters for what folder holds.
    static std::string kinds(const fs::path& folder) {
        std::string out;
        for (const char* name : {"Kestrova.ini", "Kestrova.bak"}) {
            std::error_code ec;
            const fs::file_status s = fs::symlink_status(folder / name, ec);
            std::string content;
            char k = !fs::exists(s)                                                 ? '-'
                     : fs::is_symlink(s)                                            ? 'l'
                     : fs::is_directory(s)                                          ? 'd'
                     : (s.permissions() & fs::perms::owner_read) == fs::perms::none ? 'r'
                     : PosixFileOps().readAll((folder / name).string(), content)    ? '?'
                                                                                    : '!';
            for (const auto& [letter, text] : kContent) {
                k = k == '?' && content == text ? letter : k;
            }
            out += k;
        }
        return out;
    }

    fs::path root = [] {
        std::string pattern = (fs::temp_directory_path() / "kestrova-folders-XXXXXX").string();
        return fs::path(mkdtemp(pattern.data()));
    }();
    fs::path bin = root / "prefix/bin", share = root / "prefix/share/kestrova",
             home = root / "home", user = home / ".config/kestrova";
};

// Which folder keeps the settings for each way the program can be laid out, and what the
// settings reader then answers there: the port read, each "Err reading .ini file." (!), the
// warning box of a repair from the backup (W) or the fatal box and the end (F).
TEST(ChooseFolders, SettingsFolderAndWhatItsReaderAnswers) {
    struct Case {
        Special special;
        std::string bin, user, given;  // the two settings files in each folder
        std::string option, xdg;       // a leading "@" stands for the temporary root
        std::string settings;          // the folder chosen, from the root; "" when refused
        std::string after;             // its two files after the first read
        std::string answer;            // of that read
        std::string message;           // a part of it
    };
    const Case cases[] = {
        // A portable copy: whatever it holds, its settings stay beside the program.
        {Plain, "UU", "UU", "--", "", "", "prefix/bin", "UU", "7", ""},
        {Plain, "U-", "--", "--", "", "", "prefix/bin", "U-", "7", ""},
        {Plain, "-U", "UU", "--", "", "", "prefix/bin", "UU", "7W", ""},
        {Plain, "-U", "--", "--", "", "@/xdg", "prefix/bin", "UU", "7W", ""},
        {Plain, "dU", "--", "--", "", "", "prefix/bin", "dU", "F", ""},
        {Plain, "d-", "--", "--", "", "", "prefix/bin", "d-", "F", ""},
        {Plain, "lU", "--", "--", "", "", "prefix/bin", "UU", "7W", ""},
        {Plain, "l-", "--", "--", "", "", "prefix/bin", "l-", "F", ""},
        {Plain, "rU", "--", "--", "", "", "prefix/bin", "UU", "7W", ""},
        {Plain, "r-", "--", "--", "", "", "prefix/bin", "r-", "F", ""},
        {Plain, "eU", "--", "--", "", "", "prefix/bin", "UU", "7!W", ""},
        {Plain, "e-", "--", "--", "", "", "prefix/bin", "e-", "!F", ""},
        {Plain, "-x", "--", "--", "", "", "prefix/bin", "-x", "!", ""},
        {Plain, "-&", "--", "--", "", "", "prefix/bin", "-&", "F", ""},
        // Installed: the per-user folder, given the defaults when it holds neither file.
        {Plain, "--", "--", "--", "", "", "home/.config/kestrova", "II", "1", "copied"},
        {Plain, "--", "--", "--", "", "@/xdg", "xdg/kestrova", "II", "1", "copied"},
        {Plain, "--", "--", "--", "", "rel/xdg", "home/.config/kestrova", "II", "1", "copied"},
        {Plain, "--", "UU", "--", "", "", "home/.config/kestrova", "UU", "7", ""},
        {Plain, "--", "U-", "--", "", "", "home/.config/kestrova", "U-", "7", ""},
        {Plain, "--", "-U", "--", "", "", "home/.config/kestrova", "UU", "7W", ""},
        {Plain, "--", "l-", "--", "", "", "home/.config/kestrova", "l-", "F", ""},
        {NoDefaults, "--", "--", "--", "", "", "home/.config/kestrova", "--", "F", "no default"},
        {HomeIsAFile, "--", "--", "--", "", "", "", "", "", "cannot create"},
        // --settings wins over both.
        {Plain, "UU", "UU", "--", "@/given", "", "given", "II", "1", "copied"},
        {Plain, "--", "--", "UU", "@/given", "", "given", "UU", "7", ""},
        {Plain, "--", "--", "U-", "@/given", "", "given", "U-", "7", ""},
        {Plain, "--", "--", "-U", "@/given", "", "given", "UU", "7W", ""},
        {Plain, "--", "--", "--", "@/missing", "", "", "", "", "does not exist"},
        {Plain, "--", "--", "--", "@/prefix/bin/kestrova", "", "", "", "", "not a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.special << " " << c.bin << " " << c.user << " "
                                          << c.given << " " << c.option << " " << c.xdg);
        Tree t;
        const auto at = [&](const std::string& s) {
            return s.starts_with("@") ? t.root.string() + s.substr(1) : s;
        };
        t.lay(t.bin, c.bin);
        t.lay(t.user, c.user);
        t.lay(t.root / "given", c.given);
        if (c.special == NoDefaults) {
            fs::remove(t.share / "Kestrova.ini");
        } else if (c.special == HomeIsAFile) {
            fs::remove_all(t.home);
            std::ofstream(t.home) << "";
        }
        const auto before = std::distance(fs::recursive_directory_iterator(t.root), {});
        OperatorFiles files;
        const Folders f = ChooseFolders({t.bin, at(c.option), at(c.xdg), t.home.string()}, files);

        EXPECT_NE(f.message.find(c.message), std::string::npos) << f.message;
        EXPECT_EQ(c.message.empty(), f.message.empty()) << f.message;
        if (c.settings.empty()) {
            EXPECT_EQ(f.failure,
                      c.option.empty() ? FolderFailure::Unusable : FolderFailure::BadOption);
            EXPECT_EQ(std::distance(fs::recursive_directory_iterator(t.root), {}), before)
                << "nothing created";
            continue;
        }
        ASSERT_EQ(f.failure, FolderFailure::None);
        EXPECT_EQ(f.settings, t.root / c.settings);
        EXPECT_EQ(f.data, c.bin == "--" ? t.share : t.bin) << "pictures beside the settings";

        FakeWindow window;
        BoxRecorder boxes;
        HandLocalClock clock;
        WindowRecorder placement;
        int ends = 0;
        Store store(f.settings, window, boxes, clock, placement, files, [&] { ++ends; });
        std::string answer = store.ReadIniValue("Kestrova.ini", "RxCOMport", true);
        answer += std::string(static_cast<std::size_t>(window.at(El::StatusDisp).texts), '!');
        for (const Box& b : boxes.boxes) {
            answer += b.text == kWarning ? 'W' : b.text == kFatal ? 'F' : '?';
        }
        EXPECT_EQ(answer, c.answer);
        EXPECT_EQ(ends, c.answer.ends_with('F') ? 1 : 0);
        EXPECT_EQ(Tree::kinds(f.settings), c.after);
    }
}

}  // namespace
}  // namespace kestrova::testing
