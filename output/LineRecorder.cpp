#include "output/LineRecorder.h"

#include "output/Recording.h"

namespace kestrova {

bool LineRecorder::start(const std::string& path, std::string_view note) {
    finish();
    path_ = path;
    std::uint64_t existing = 0;
    if (!file_.open(path, false, existing) || !file_.write(recording::header(note))) {
        file_.close();
        if (report_) {
            report_("Cannot write recording " + path + ": " + file_.reason());
        }
        return false;
    }
    start_ = clock_.nowMs();
    recording_ = true;
    return true;
}

void LineRecorder::received(std::string_view bytes) {
    if (!recording_ || bytes.empty()) {
        return;
    }
    if (pending_.empty()) {
        timer_.wakeIn(kWriteOutMs);
    }
    pending_ += recording::record(clock_.nowMs() - start_, bytes);
    if (pending_.size() >= kWriteOutBytes) {
        writeOut();
    }
}

void LineRecorder::finish() {
    if (!recording_) {
        return;
    }
    writeOut();
    file_.close();
    recording_ = false;
}

void LineRecorder::writeOut() {
    timer_.stop();
    if (pending_.empty()) {
        return;
    }
    const bool written = file_.write(pending_);
    pending_.clear();
    if (!written) {
        // Whatever part of the last records reached the file, a reader stops at the last whole
        // one.
        const std::string reason = file_.reason();
        file_.close();
        recording_ = false;
        if (report_) {
            report_("Recording stopped, cannot write " + path_ + ": " + reason);
        }
    }
}

bool RecordingSerialLine::readInput(std::string& into) {
    const std::size_t before = into.size();
    const bool read = line_.readInput(into);
    if (into.size() > before) {
        recorder_.received(std::string_view(into).substr(before));
    }
    return read;
}

}  // namespace kestrova
