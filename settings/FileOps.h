#pragma once
// The file operations the settings store needs, one call per step, so that a test can make
// any single step fail (or the process "die" there) and look at what is left on disk.

#include <string>
#include <string_view>

namespace kestrova {

class FileOps {
  public:
    virtual ~FileOps() = default;

    // The whole content of a regular file; false when it is missing or cannot be read.
    virtual bool readAll(const std::string& path, std::string& content) = 0;
    // Creates the file, or empties an existing one, for writing; -1 on failure.
    virtual int create(const std::string& path) = 0;
    // Writes all of data; false if any of it could not be written.
    virtual bool write(int fd, std::string_view data) = 0;
    // Forces the file's content to the storage device.
    virtual bool sync(int fd) = 0;
    virtual bool close(int fd) = 0;
    // Replaces `to` by `from` in one step.
    virtual bool rename(const std::string& from, const std::string& to) = 0;
    virtual bool remove(const std::string& path) = 0;
    // Forces a folder's entries (a rename in it) to the storage device.
    virtual bool syncFolder(const std::string& folder) = 0;
};

// The real thing, on POSIX calls.
class PosixFileOps : public FileOps {
  public:
    bool readAll(const std::string& path, std::string& content) override;
    int create(const std::string& path) override;
    bool write(int fd, std::string_view data) override;
    bool sync(int fd) override;
    bool close(int fd) override;
    bool rename(const std::string& from, const std::string& to) override;
    bool remove(const std::string& path) override;
    bool syncFolder(const std::string& folder) override;
};

}  // namespace kestrova
