#include "tools/sim/Terminal.h"

#include <fcntl.h>
#include <pty.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <fstream>
#include <iterator>

namespace kestrova::sim {

bool readFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// The far end is left in raw mode at the line's speed so that nothing is echoed or
// translated before the display sets the line up itself.
int openTerminal(std::string& slave) {
    termios tio{};
    ::cfmakeraw(&tio);
    ::cfsetispeed(&tio, B19200);
    ::cfsetospeed(&tio, B19200);
    int master = -1;
    int far = -1;
    char name[PATH_MAX] = {};
    if (::openpty(&master, &far, name, &tio, nullptr) != 0) {
        return -1;
    }
    ::close(far);  // holding it would hide whether the display has the line open
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    slave = name;
    return master;
}

bool makeLink(const std::string& link, const std::string& target, std::string& error) {
    struct stat st {};
    if (::lstat(link.c_str(), &st) == 0) {
        if (!S_ISLNK(st.st_mode)) {
            error = link + " exists and is not a symbolic link";
            return false;
        }
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        error = "cannot link " + link + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

void removeLink(const std::string& link, const std::string& target) {
    char buf[PATH_MAX] = {};
    const ssize_t n = ::readlink(link.c_str(), buf, sizeof buf - 1);
    if (n > 0 && target == std::string(buf, static_cast<std::size_t>(n))) {
        ::unlink(link.c_str());
    }
}

}  // namespace kestrova::sim
