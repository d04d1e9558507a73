#pragma once
// Records everything the serial line delivers, with its arrival time, in the format of
// output/Recording.h. Chunks wait in memory and are written out together when the write-out
// timer, set as the first of them arrives, fires: within kWriteOutMs of any arrival, so a
// crash loses at most that much, and a few writes a second at the line's full rate. Also when
// a lot has gathered, and at the end. A file that cannot be written is reported once;
// recording stops and nothing else does.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/SerialLine.h"
#include "core/Timer.h"
#include "output/OutputFile.h"

namespace kestrova {

class LineRecorder {
  public:
    using Report = std::function<void(std::string_view)>;
    // Well inside the half second promised to the operator, even on a busy machine.
    static constexpr long kWriteOutMs = 200;
    static constexpr std::size_t kWriteOutBytes = std::size_t{64} * 1024;

    // `writeOutTimer` calls writeOut() when it fires.
    LineRecorder(OutputFile& file, const MonotonicClock& clock, WakeTimer& writeOutTimer,
                 Report report)
        : file_(file), clock_(clock), timer_(writeOutTimer), report_(std::move(report)) {}
    ~LineRecorder() { finish(); }
    LineRecorder(const LineRecorder&) = delete;
    LineRecorder& operator=(const LineRecorder&) = delete;

    // Starts a new recording in path (emptied first); its times count from now. `note` goes
    // into the header line. False, reported, when the file cannot be written.
    bool start(const std::string& path, std::string_view note);
    // A chunk as it was read.
    void received(std::string_view bytes);
    // Writes out everything waiting.
    void writeOut();
    // Writes out everything and closes the file.
    void finish();

    bool recording() const { return recording_; }

  private:
    OutputFile& file_;
    const MonotonicClock& clock_;
    WakeTimer& timer_;
    Report report_;
    std::string path_;
    bool recording_ = false;
    std::int64_t start_ = 0;
    std::string pending_;
};

// The serial line seen through a recorder: every call goes to the line underneath, and what
// its reads append is recorded. Line events are raised by the line underneath: set onComm
// and onLost there.
class RecordingSerialLine : public SerialLine {
  public:
    RecordingSerialLine(SerialLine& line, LineRecorder& recorder)
        : line_(line), recorder_(recorder) {}

    void setPortNumber(std::int16_t port) override { line_.setPortNumber(port); }
    std::int16_t portNumber() const override { return line_.portNumber(); }
    std::string device() const override { return line_.device(); }
    bool open() override { return line_.open(); }
    std::string openFailure() const override { return line_.openFailure(); }
    void close() override { line_.close(); }
    bool isOpen() const override { return line_.isOpen(); }
    int handle() const override { return line_.handle(); }
    void setLineOptions(const LineOptions& options) override { line_.setLineOptions(options); }
    bool readInput(std::string& into) override;
    bool writeOutput(std::string_view text) override { return line_.writeOutput(text); }

  private:
    SerialLine& line_;
    LineRecorder& recorder_;
};

}  // namespace kestrova
