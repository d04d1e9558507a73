#include "link/DeviceState.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <filesystem>

namespace kestrova {

namespace {
// Unix98 pseudo-terminal slaves.
constexpr unsigned kFirstPtyMajor = 136;
constexpr unsigned kLastPtyMajor = 143;

bool underDevPts(const std::string& path) {
    const std::string normal = std::filesystem::path(path).lexically_normal().string();
    return normal.rfind("/dev/pts/", 0) == 0;
}
}  // namespace

DeviceState InspectDevice(const std::string& path) {
    DeviceState s;
    struct stat l {};
    if (::lstat(path.c_str(), &l) == 0 && S_ISLNK(l.st_mode)) {
        s.link = true;
        s.linkInode = l.st_ino;
        s.linkChanged =
            static_cast<std::int64_t>(l.st_ctim.tv_sec) * 1000000000 + l.st_ctim.tv_nsec;
        std::error_code ec;
        s.linkTarget = std::filesystem::read_symlink(path, ec).string();
    }
    struct stat t {};
    if (::stat(path.c_str(), &t) != 0) {
        return s;
    }
    s.exists = true;
    s.folder = S_ISDIR(t.st_mode);
    s.characterDevice = S_ISCHR(t.st_mode);
    s.accessible = ::access(path.c_str(), R_OK | W_OK) == 0;
    if (s.characterDevice) {
        const unsigned m = major(t.st_rdev);
        s.pseudoTerminal = m >= kFirstPtyMajor && m <= kLastPtyMajor;
    }
    if (!s.pseudoTerminal) {
        std::error_code ec;
        s.pseudoTerminal = underDevPts(std::filesystem::canonical(path, ec).string());
    }
    return s;
}

bool IsRawPseudoTerminal(const std::string& path, const DeviceState& now) {
    return !now.link && (now.pseudoTerminal || underDevPts(path));
}

bool MayReopen(const std::string& path, const DeviceState& atLoss, const DeviceState& now) {
    if (!now.exists || IsRawPseudoTerminal(path, now)) {
        return false;
    }
    if (!now.pseudoTerminal) {
        return true;
    }
    return !atLoss.link || now.linkInode != atLoss.linkInode ||
           now.linkChanged != atLoss.linkChanged || now.linkTarget != atLoss.linkTarget;
}

std::optional<std::string> RefuseBeforeOpening(const DeviceState& s) {
    if (!s.exists) {
        return "no such device";
    }
    if (s.folder) {
        return "a folder, not a serial device";
    }
    if (!s.characterDevice) {
        return "not a serial device";
    }
    return std::nullopt;
}

std::string OpenFailureReason(const DeviceState& s, bool busy, const std::string& systemText) {
    if (auto refused = RefuseBeforeOpening(s)) {
        return *refused;
    }
    if (!s.accessible) {
        return "permission denied (join the dialout group: sudo usermod -aG dialout $USER, "
               "then log in again)";
    }
    if (busy) {
        return "busy, in use by another program";
    }
    return systemText.empty() ? "cannot be opened" : systemText;
}

}  // namespace kestrova
