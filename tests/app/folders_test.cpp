#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "app/Folders.h"
#include "settings/FileOps.h"

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

enum Layout { Installed, Portable, UserEdited, OnlyBackup, NoDefaults, HomeIsAFile };

// An installed tree and a home folder under one temporary folder:
// prefix/bin (the program), prefix/share/kestrova (its data), home/ and an empty given/.
struct Tree {
    Tree() {
        fs::create_directories(bin);
        fs::create_directories(share);
        fs::create_directories(home);
        fs::create_directories(root / "given");
        put(share / "Kestrova.ini", kDefaults);
    }
    ~Tree() { fs::remove_all(root); }
    static void put(const fs::path& p, const std::string& text) {
        std::ofstream(p, std::ios::binary) << text;
    }
    static std::string get(const fs::path& p) {
        std::string s;
        PosixFileOps().readAll(p.string(), s);
        return s;
    }
    std::size_t entries(const fs::path& p) const {
        return static_cast<std::size_t>(std::distance(fs::recursive_directory_iterator(p), {}));
    }

    // The program in bin/, and the settings as the layout has them.
    void lay(Layout setup) const {
        const fs::path user = home / ".config/kestrova";
        put(bin / "kestrova", "");
        if (setup == Portable) {
            put(bin / "Kestrova.ini", kMine);
        } else if (setup == UserEdited || setup == OnlyBackup) {
            fs::create_directories(user);
            put(user / (setup == UserEdited ? "Kestrova.ini" : "Kestrova.bak"), kMine);
        } else if (setup == NoDefaults) {
            fs::remove(share / "Kestrova.ini");
        } else if (setup == HomeIsAFile) {
            fs::remove(home);
            put(home, "");
        }
    }

    static inline const std::string kDefaults = "RxCOMport=1\r\n", kMine = "RxCOMport=7\n";
    fs::path root = [] {
        std::string pattern = (fs::temp_directory_path() / "kestrova-folders-XXXXXX").string();
        return fs::path(mkdtemp(pattern.data()));
    }();
    fs::path bin = root / "prefix/bin", share = root / "prefix/share/kestrova",
             home = root / "home";
};

// Which folders are used, and what the settings folder holds afterwards, for each way the
// program can be laid out.
TEST(ChooseFolders, SettingsAndDataFolders) {
    struct Case {
        Layout setup;
        std::string option, xdg;  // a leading "@" stands for the temporary root
        FolderFailure failure;
        std::string settings;  // relative to the root
        std::string files;     // Kestrova.ini, Kestrova.bak: D defaults, U the user's, - none
        std::string message;   // a part of it
    };
    const Case cases[] = {
        {Installed, "", "", FolderFailure::None, "home/.config/kestrova", "DD", "copied"},
        {Installed, "", "@/xdg", FolderFailure::None, "xdg/kestrova", "DD", "copied"},
        {Installed, "", "rel/xdg", FolderFailure::None, "home/.config/kestrova", "DD", "copied"},
        {Portable, "", "@/xdg", FolderFailure::None, "prefix/bin", "U-", ""},
        {UserEdited, "", "", FolderFailure::None, "home/.config/kestrova", "U-", ""},
        {OnlyBackup, "", "", FolderFailure::None, "home/.config/kestrova", "-U", ""},
        {NoDefaults, "", "", FolderFailure::None, "home/.config/kestrova", "--", "no default"},
        {HomeIsAFile, "", "", FolderFailure::Unusable, "", "", "cannot create"},
        {Installed, "@/given", "", FolderFailure::None, "given", "DD", "copied"},
        {Portable, "@/given", "", FolderFailure::None, "given", "DD", "copied"},
        {Installed, "@/missing", "", FolderFailure::BadOption, "", "", "does not exist"},
        {Installed, "@/prefix/bin/kestrova", "", FolderFailure::BadOption, "", "", "not a folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.setup << " " << c.option << " " << c.xdg);
        Tree t;
        const auto at = [&](const std::string& s) {
            return s.starts_with("@") ? t.root.string() + s.substr(1) : s;
        };
        t.lay(c.setup);
        const std::size_t before = t.entries(t.root);
        PosixFileOps files;
        const Folders f = ChooseFolders({t.bin, at(c.option), at(c.xdg), t.home.string()}, files);

        EXPECT_EQ(f.failure, c.failure);
        EXPECT_NE(f.message.find(c.message), std::string::npos) << f.message;
        EXPECT_EQ(c.message.empty(), f.message.empty()) << f.message;
        if (c.failure != FolderFailure::None) {
            EXPECT_EQ(t.entries(t.root), before) << "nothing created";
            continue;
        }
        EXPECT_EQ(f.settings, t.root / c.settings);
        EXPECT_EQ(f.data, c.setup == Portable ? t.bin : t.share);
        std::string found;
        for (const char* name : {"Kestrova.ini", "Kestrova.bak"}) {
            const fs::path p = f.settings / name;
            found += !fs::exists(p)                ? '-'
                     : t.get(p) == Tree::kMine     ? 'U'
                     : t.get(p) == Tree::kDefaults ? 'D'
                                                   : '?';
        }
        EXPECT_EQ(found, c.files);
    }
}

}  // namespace
}  // namespace kestrova::testing
