#pragma once
// One file the program writes as it runs (a recording, a log), behind an interface so that a
// test can make opening or any write fail, or the disk fill up.

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova {

class OutputFile {
  public:
    virtual ~OutputFile() = default;

    // Opens path for writing, created when missing: emptied first, or written at its end when
    // `append`. `existing` is the size the file had. Closes a file that was open before.
    virtual bool open(const std::string& path, bool append, std::uint64_t& existing) = 0;
    // Writes all of data; false when any of it could not be written (the file may then end
    // in a part of it).
    virtual bool write(std::string_view data) = 0;
    virtual void close() = 0;
    // Why the last open or write failed, for the operator.
    virtual std::string reason() const = 0;
};

// The real thing, on POSIX calls. Regular files and character devices only: a FIFO or a
// socket could stall the program.
class PosixOutputFile : public OutputFile {
  public:
    ~PosixOutputFile() override { close(); }
    bool open(const std::string& path, bool append, std::uint64_t& existing) override;
    bool write(std::string_view data) override;
    void close() override;
    std::string reason() const override;

  private:
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace kestrova
