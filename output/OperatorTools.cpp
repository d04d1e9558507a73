#include "output/OperatorTools.h"

#include <filesystem>
#include <system_error>

namespace kestrova {

namespace {

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code ea, eb;
    const auto pa = std::filesystem::weakly_canonical(std::filesystem::absolute(a, ea), ea);
    const auto pb = std::filesystem::weakly_canonical(std::filesystem::absolute(b, eb), eb);
    return ea || eb ? a == b : pa == pb;
}

}  // namespace

OperatorTools::OperatorTools(SerialLine& line, WakeTimer& writeOutTimer, Report report,
                             OutputFile& recordFile, OutputFile& logFile, const Clocks& clocks)
    : clock_(clocks.local),
      report_(report),
      recorder_(recordFile, clocks.steady, writeOutTimer, report),
      log_(logFile, std::move(report)),
      line_(line, recorder_) {}

void OperatorTools::begin(const OperatorOptions& options) {
    if (!options.recordFile.empty()) {
        recorder_.start(options.recordFile, "started " + FormatLocalTime(clock_.now()));
    }
    if (options.bearingLogFile.empty()) {
        return;
    }
    if (!options.recordFile.empty() && sameFile(options.recordFile, options.bearingLogFile)) {
        if (report_) {
            report_("Bearing log off: it cannot share the recording's file " +
                    options.bearingLogFile);
        }
        return;
    }
    log_.start(options.bearingLogFile);
}

void OperatorTools::end() {
    recorder_.finish();
    log_.finish();
}

}  // namespace kestrova
