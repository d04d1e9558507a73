#pragma once
// The operator's optional outputs: the recording of the line (output/LineRecorder.h), put
// between the station and its serial line, and the bearing log (output/BearingLog.h), which
// listens to the bearings shown. Until begin() switches one on they do nothing.
//
// Wiring: build it before the Station and give the Station line() in place of the serial
// line, and add bearingLog() to its listeners; call begin() with the resolved options before
// the start-up sequence. The recording's write-out timer calls writeOut(); the recording
// finishes when this object goes.

#include <functional>
#include <string_view>

#include "core/Clock.h"
#include "output/BearingLog.h"
#include "output/LineRecorder.h"
#include "output/OperatorOptions.h"
#include "output/OutputFile.h"

namespace kestrova {

class OperatorTools {
  public:
    using Report = std::function<void(std::string_view)>;

    // `report` puts a message on the status line.
    OperatorTools(SerialLine& line, WakeTimer& writeOutTimer, Report report)
        : OperatorTools(line, writeOutTimer, std::move(report), recordFile_, logFile_,
                        SystemClocks()) {}
    // With other files and clocks, for tests.
    OperatorTools(SerialLine& line, WakeTimer& writeOutTimer, Report report, OutputFile& recordFile,
                  OutputFile& logFile, const Clocks& clocks);

    SerialLine& line() { return line_; }
    BearingLog& bearingLog() { return log_; }

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
    const LocalClock& clock_;
    Report report_;
    LineRecorder recorder_;
    BearingLog log_;
    RecordingSerialLine line_;
};

}  // namespace kestrova
