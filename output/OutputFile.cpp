#include "output/OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kestrova {

namespace {
constexpr int kNotAFile = -1;
}  // namespace

bool PosixOutputFile::open(const std::string& path, bool append, std::uint64_t& existing) {
    close();
    existing = 0;
    // Non-blocking, so that a FIFO without a reader fails at once instead of hanging us.
    const int flags = O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK | (append ? O_APPEND : 0);
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0) {
        error_ = errno;
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !(S_ISREG(info.st_mode) || S_ISCHR(info.st_mode))) {
        error_ = kNotAFile;
        ::close(fd);
        return false;
    }
    // Emptied only once it is known to be a file of ours to empty.
    if (!append && S_ISREG(info.st_mode) && ::ftruncate(fd, 0) != 0) {
        error_ = errno;
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    existing = append && S_ISREG(info.st_mode) ? static_cast<std::uint64_t>(info.st_size) : 0;
    fd_ = fd;
    return true;
}

bool PosixOutputFile::write(std::string_view data) {
    if (fd_ < 0) {
        error_ = EBADF;
        return false;
    }
    while (!data.empty()) {
        const ssize_t n = ::write(fd_, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            error_ = errno;
            return false;
        }
        if (n == 0) {
            error_ = ENOSPC;
            return false;
        }
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void PosixOutputFile::close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::string PosixOutputFile::reason() const {
    if (error_ == kNotAFile) {
        return "not a file";
    }
    return error_ != 0 ? std::strerror(error_) : "";
}

}  // namespace kestrova
