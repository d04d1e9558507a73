#include "output/Recording.h"

#include <charconv>
#include <cstdint>

namespace kestrova::recording {

namespace {

// A record's head is two numbers and a blank; anything longer is not one.
constexpr std::size_t kMaxHead = 48;

bool number(std::string_view text, std::uint64_t& out) {
    if (text.empty()) {
        return false;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

// One record at the head of `rest`, following one of time `last`: its chunk and how long it is
// in the file, or what is wrong with it.
struct Record {
    Chunk chunk;
    std::size_t size = 0;
    const char* problem = nullptr;
};

Record readRecord(std::string_view rest, std::int64_t last) {
    Record r;
    const std::size_t lf = rest.substr(0, kMaxHead).find('\n');
    if (lf == std::string_view::npos) {
        r.problem = rest.size() < kMaxHead ? "cut off in a record's head" : "damaged record head";
        return r;
    }
    const std::string_view head = rest.substr(0, lf);
    const std::size_t blank = head.find(' ');
    std::uint64_t ms = 0;
    std::uint64_t length = 0;
    if (blank == std::string_view::npos || !number(head.substr(0, blank), ms) ||
        !number(head.substr(blank + 1), length) || ms > INT64_MAX ||
        static_cast<std::int64_t>(ms) < last) {
        r.problem = "damaged record head";
        return r;
    }
    r.chunk.milliseconds = static_cast<std::int64_t>(ms);
    const std::string_view body = rest.substr(lf + 1);
    if (body.size() <= length) {
        r.chunk.bytes = body;
        r.problem = "cut off in a record's bytes";
    } else if (body[length] != '\n') {
        r.problem = "damaged record (no line end after its bytes)";
    } else {
        r.chunk.bytes = body.substr(0, length);
        r.size = lf + 1 + length + 1;
    }
    return r;
}

}  // namespace

std::string header(std::string_view note) {
    std::string h(kMagic);
    if (!note.empty()) {
        h += ' ';
        h += note;
    }
    h += '\n';
    return h;
}

std::string record(std::int64_t milliseconds, std::string_view bytes) {
    std::string r = std::to_string(milliseconds) + ' ' + std::to_string(bytes.size()) + '\n';
    r.append(bytes);
    r += '\n';
    return r;
}

bool isRecording(std::string_view file) {
    return file.starts_with(kMagic) && (file.size() == kMagic.size() ||
                                        file[kMagic.size()] == ' ' || file[kMagic.size()] == '\n');
}

Contents parse(std::string_view file) {
    Contents c;
    const std::size_t eol = file.find('\n');
    if (eol == std::string_view::npos) {
        c.whole = false;
        c.stoppedAt = file.size();
        c.record = 1;
        c.problem = "cut off in the header line";
        return c;
    }
    if (eol > kMagic.size()) {
        c.note = std::string(file.substr(kMagic.size() + 1, eol - kMagic.size() - 1));
    }
    std::int64_t last = 0;
    for (std::size_t at = eol + 1, records = 0; at < file.size(); ++records) {
        Record r = readRecord(file.substr(at), last);
        // A record cut off in its bytes still gives what arrived.
        if (!r.problem || !r.chunk.bytes.empty()) {
            c.chunks.push_back(std::move(r.chunk));
        }
        if (r.problem) {
            c.whole = false;
            c.stoppedAt = at;
            c.record = records + 1;
            c.problem = r.problem;
            return c;
        }
        last = c.chunks.back().milliseconds;
        at += r.size;
    }
    return c;
}

}  // namespace kestrova::recording
