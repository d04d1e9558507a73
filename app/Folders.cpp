#include "app/Folders.h"

#include <unistd.h>

#include "settings/AtomicReplace.h"

namespace kestrova {

namespace {

namespace fs = std::filesystem;

const char* const kIni = "Kestrova.ini";
const char* const kBak = "Kestrova.bak";

bool present(const fs::path& p) {
    std::error_code ec;
    return fs::exists(p, ec);
}

// Whether the folder holds either settings file. Any entry of that name counts, a folder or a
// link to nowhere too: the operator meant settings there, and the settings reader says what
// is wrong with them rather than the program quietly keeping its settings elsewhere.
bool holdsSettings(const fs::path& folder) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(folder / kIni, ec)) ||
           fs::exists(fs::symlink_status(folder / kBak, ec));
}

// Gives a folder that holds neither settings file the installed defaults, backup first.
// Missing defaults are left to the settings reader, which tells the operator.
void seed(Folders& f, const fs::path& defaults, FileOps& files) {
    if (holdsSettings(f.settings)) {
        return;
    }
    std::string content;
    if (!files.readAll(defaults.string(), content)) {
        f.message = "no default settings at " + defaults.string();
        return;
    }
    if (!ReplaceFileAtomically(files, (f.settings / kBak).string(), content) ||
        !ReplaceFileAtomically(files, (f.settings / kIni).string(), content)) {
        f.failure = FolderFailure::Unusable;
        f.message = "cannot write the settings in " + f.settings.string();
        return;
    }
    f.message = "default settings copied to " + f.settings.string();
}

// The folder --settings names: it must be there and writable.
void takeOption(Folders& f, const fs::path& option, const fs::path& defaults, FileOps& files) {
    std::error_code ec;
    f.settings = fs::absolute(option, ec);
    if (!fs::is_directory(f.settings, ec)) {
        f.failure = FolderFailure::BadOption;
        f.message = "settings folder " + f.settings.string() +
                    (present(f.settings) ? " is not a folder" : " does not exist");
    } else if (::access(f.settings.c_str(), W_OK | X_OK) != 0) {
        f.failure = FolderFailure::BadOption;
        f.message = "settings folder " + f.settings.string() + " is not writable";
    } else {
        seed(f, defaults, files);
    }
}

}  // namespace

fs::path InstalledDataFolder(const fs::path& programFolder) {
    return (programFolder / KESTROVA_DATA_FROM_BIN).lexically_normal();
}

Folders ChooseFolders(const FolderInputs& in, FileOps& files) {
    Folders f;
    const fs::path installed = InstalledDataFolder(in.programFolder);
    const bool portable = holdsSettings(in.programFolder);
    f.data = portable ? in.programFolder : installed;
    std::error_code ec;

    if (!in.settingsOption.empty()) {
        takeOption(f, in.settingsOption, installed / kIni, files);
        return f;
    }
    if (portable) {
        f.settings = in.programFolder;
        return f;
    }
    // Relative values of XDG_CONFIG_HOME are to be ignored.
    if (!in.xdgConfigHome.empty() && in.xdgConfigHome.front() == '/') {
        f.settings = fs::path(in.xdgConfigHome) / "kestrova";
    } else if (!in.home.empty()) {
        f.settings = fs::path(in.home) / ".config" / "kestrova";
    } else {
        f.failure = FolderFailure::Unusable;
        f.message = "no settings folder: neither HOME nor XDG_CONFIG_HOME is set";
        return f;
    }
    fs::create_directories(f.settings, ec);
    if (ec) {
        f.failure = FolderFailure::Unusable;
        f.message =
            "cannot create the settings folder " + f.settings.string() + ": " + ec.message();
        return f;
    }
    seed(f, installed / kIni, files);
    return f;
}

}  // namespace kestrova
