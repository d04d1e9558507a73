#include "tools/sim/Replay.h"

#include <algorithm>
#include <cstdio>

#include "tools/sim/Pacing.h"

namespace kestrova::sim {

namespace {
constexpr std::size_t kReplayChunk = 64;
}  // namespace

bool ReplaySource::next(Piece& out) {
    if (at_ >= bytes_.size()) {
        return false;
    }
    out = Piece{0, bytes_.substr(at_, kReplayChunk)};
    at_ += out.bytes.size();
    return true;
}

TimedReplaySource::TimedReplaySource(std::vector<recording::Chunk> chunks)
    : chunks_(std::move(chunks)) {}

double TimedReplaySource::startOf(std::size_t i) const {
    // A chunk's time is when it was read; its first byte was on the line its line time earlier.
    const auto& c = chunks_[i];
    const auto& first = chunks_.front();
    return static_cast<double>(c.milliseconds - first.milliseconds) / 1000.0 -
           lineSeconds(c.bytes.size()) + lineSeconds(first.bytes.size());
}

bool TimedReplaySource::next(Piece& out) {
    if (at_ >= chunks_.size()) {
        return false;
    }
    out = Piece{0, chunks_[at_].bytes, std::max(0.0, startOf(at_))};
    ++at_;
    return true;
}

double TimedReplaySource::length() const {
    double end = 0;
    for (std::size_t i = 0; i < chunks_.size(); ++i) {
        end = std::max(end, startOf(i)) + lineSeconds(chunks_[i].bytes.size());
    }
    return end;
}

Replay loadReplay(std::string file) {
    Replay r;
    if (!recording::isRecording(file)) {
        r.length = lineSeconds(file.size());
        r.source = std::make_unique<ReplaySource>(std::move(file));
        return r;
    }
    recording::Contents c = recording::parse(file);
    if (!c.whole) {
        char buf[160];
        const double lastTime =
            c.chunks.empty() ? 0.0 : static_cast<double>(c.chunks.back().milliseconds) / 1000.0;
        std::snprintf(buf, sizeof buf, "%s at byte %zu (record %zu, %.3f s into the recording)",
                      c.problem.c_str(), c.stoppedAt, c.record, lastTime);
        r.warning = buf;
    }
    auto source = std::make_unique<TimedReplaySource>(std::move(c.chunks));
    r.timed = true;
    r.length = source->length();
    r.source = std::move(source);
    return r;
}

}  // namespace kestrova::sim
