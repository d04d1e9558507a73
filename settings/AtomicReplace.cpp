#include "settings/AtomicReplace.h"

#include <filesystem>

namespace kestrova {

bool ReplaceFileAtomically(FileOps& files, const std::string& path, std::string_view content) {
    const std::string temporary = path + ".tmp";
    const int fd = files.create(temporary);
    if (fd < 0) {
        return false;
    }
    const bool written = files.write(fd, content) && files.sync(fd);
    const bool closed = files.close(fd);
    if (!written || !closed || !files.rename(temporary, path)) {
        files.remove(temporary);
        return false;
    }
    std::string folder = std::filesystem::path(path).parent_path().string();
    return files.syncFolder(folder.empty() ? "." : folder);
}

}  // namespace kestrova
