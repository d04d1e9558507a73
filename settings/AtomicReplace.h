#pragma once
// Replacing a file so that a crash or power loss at any moment leaves either the old or the
// new content under its name, never a part of either.

#include <string>
#include <string_view>

#include "settings/FileOps.h"

namespace kestrova {

// Writes content to "<path>.tmp" in the same folder, forces it to disk, renames it over
// path and forces the folder entry. False when any step failed; path then holds its old
// content unless only the final folder sync failed.
bool ReplaceFileAtomically(FileOps& files, const std::string& path, std::string_view content);

}  // namespace kestrova
