#include "net/Share.h"

#include <algorithm>

#include "output/Recording.h"

namespace kestrova::share {

namespace {
// Longer than any record the owner sends, with its head.
constexpr std::size_t kMaxPending = kMaxChunk + 64;
constexpr std::string_view kCutOff = "cut off";
}  // namespace

std::string Greeting(std::string_view note) {
    std::string g = recording::header(note);
    if (g.size() > kMaxGreeting) {
        g.resize(kMaxGreeting - 1);
        g += '\n';
    }
    return g;
}

std::string Chunk(std::int64_t ms, std::string_view bytes) {
    std::string out;
    for (std::size_t at = 0; at < bytes.size(); at += kMaxChunk) {
        out += recording::record(ms, bytes.substr(at, kMaxChunk));
    }
    return out;
}

std::string Heartbeat(std::int64_t ms) {
    return recording::record(ms, {});
}

void Reader::receive(std::string_view in, std::string& data, std::string& /*replies*/) {
    if (!problem().empty()) {
        return;
    }
    pending_.append(in);
    if (!greeted_) {
        readGreeting();
    }
    if (greeted_ && problem().empty()) {
        records(data);
    }
}

void Reader::readGreeting() {
    const std::string_view magic = recording::kMagic;
    const std::size_t lf = pending_.find('\n');
    const std::string_view line = std::string_view(pending_).substr(0, lf);
    if (!magic.starts_with(line.substr(0, magic.size())) ||
        (lf != std::string::npos && !recording::isRecording(pending_)) ||
        (lf == std::string::npos && pending_.size() >= kMaxGreeting)) {
        fail("not a Kestrova share");
        return;
    }
    if (lf != std::string::npos) {
        greeted_ = true;
        pending_.erase(0, lf + 1);
    }
}

void Reader::records(std::string& data) {
    // The records read as a recording of their own, after one empty record at the time reached
    // so far, so that time runs on across reads. One cut off at the end waits for the rest;
    // what came before a damaged one is the owner's all the same.
    const std::string head = recording::header({}) + recording::record(last_, {});
    const recording::Contents c = recording::parse(head + pending_);
    const std::size_t whole = std::min(c.whole ? c.chunks.size() : c.record - 1, c.chunks.size());
    for (std::size_t i = 1; i < whole; ++i) {
        data += c.chunks[i].bytes;
    }
    last_ = c.chunks[whole - 1].milliseconds;
    if (!c.whole && !c.problem.starts_with(kCutOff)) {
        fail("damaged share: " + c.problem);
        return;
    }
    pending_.erase(0, c.whole ? pending_.size() : c.stoppedAt - head.size());
    if (pending_.size() > kMaxPending) {
        fail("damaged share: a record longer than " + std::to_string(kMaxPending) + " bytes");
    }
}

}  // namespace kestrova::share
