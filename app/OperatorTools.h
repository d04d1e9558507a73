#pragma once
// The operator's optional outputs, put between the station and its window and line: the
// recording of the line (link/LineRecorder.h) and the bearing log (display/BearingLog.h).
// Until begin() switches one on they only pass the calls through.
//
// Wiring: build it before the Station and give the Station display() and line() in place of
// the window and the serial line; call begin() with the resolved options before the start-up
// sequence. The recording's write-out timer calls writeOut(); the recording finishes when this
// object goes.

#include <functional>
#include <string_view>

#include "core/LocalTime.h"
#include "core/OutputFile.h"
#include "display/BearingLog.h"
#include "link/LineRecorder.h"
#include "settings/OperatorOptions.h"

namespace kestrova {

class OperatorTools {
  public:
    using Report = std::function<void(std::string_view)>;

    // `signal` reads the station's signal strength; `report` puts a message on the status line.
    OperatorTools(Display& window, SerialLine& line, WakeTimer& writeOutTimer,
                  std::function<int()> signal, Report report)
        : OperatorTools(window, line, writeOutTimer, std::move(signal), std::move(report),
                        recordFile_, logFile_, steady_, local_) {}
    // With other files and clocks, for tests.
    OperatorTools(Display& window, SerialLine& line, WakeTimer& writeOutTimer,
                  std::function<int()> signal, Report report, OutputFile& recordFile,
                  OutputFile& logFile, const MonotonicClock& monotonic, const LocalClock& local);

    Display& display() { return display_; }
    SerialLine& line() { return line_; }

    // Switches on what the options name. Files that cannot be written are reported and left
    // off; so is a bearing log in the recording's file.
    void begin(const OperatorOptions& options);
    // Writes out the recording and closes both files.
    void end();
    // Writes out what the recording holds; for its write-out timer.
    void writeOut() { recorder_.writeOut(); }

    bool recording() const { return recorder_.recording(); }
    bool logging() const { return log_.logging(); }

  private:
    PosixOutputFile recordFile_, logFile_;
    SteadyClock steady_;
    SystemLocalClock local_;
    const LocalClock& clock_;
    Report report_;
    LineRecorder recorder_;
    BearingLog log_;
    RecordingSerialLine line_;
    BearingLogDisplay display_;
};

}  // namespace kestrova
