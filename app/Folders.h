#pragma once
// Where the settings and the program's data live. A program folder that holds Kestrova.ini or
// its backup Kestrova.bak is a portable copy (the build tree is one): settings and pictures
// stay beside the program, and a lost settings file is repaired there from the backup.
// Otherwise the settings live in the user's configuration folder, given the installed
// default settings on first start, and the pictures come from the installed data folder.

#include <filesystem>
#include <string>

#include "settings/FileOps.h"

namespace kestrova {

struct FolderInputs {
    std::filesystem::path programFolder;  // holds the executable
    std::string settingsOption;           // --settings; "" when not given
    std::string xdgConfigHome;            // $XDG_CONFIG_HOME; "" when unset
    std::string home;                     // the user's home folder; "" when unknown
};

enum class FolderFailure {
    None,
    BadOption,  // --settings names no usable folder; nothing was created
    Unusable,   // the settings folder cannot be created or given its defaults
};

struct Folders {
    std::filesystem::path settings;  // Kestrova.ini and Kestrova.bak
    std::filesystem::path data;      // the antenna-mount pictures
    FolderFailure failure = FolderFailure::None;
    std::string message;  // why it failed, or what was done on the way; "" when nothing
};

// Where an installed program in programFolder finds its data: <bindir>/../share/kestrova.
std::filesystem::path InstalledDataFolder(const std::filesystem::path& programFolder);

// The settings folder: --settings, else a portable program folder, else
// $XDG_CONFIG_HOME/kestrova (absolute values only) or ~/.config/kestrova. A folder other than
// the program's that holds neither settings file gets the installed defaults as both.
Folders ChooseFolders(const FolderInputs& in, FileOps& files);

}  // namespace kestrova
