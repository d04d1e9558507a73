#pragma once
// The recording of a serial line: every chunk of bytes as it was read, with the time it was
// read. A text header line, then one record per chunk:
//
//   KESTROVA-REC 1 <free text up to the line end>\n
//   <milliseconds since the start> <number of bytes>\n<the bytes as they came>\n
//
// The bytes are stored as they came (NUL, CR, LF and bytes above 127 included); the count in
// front says where they end, and the LF after them lets a reader tell a damaged record. A
// file cut off anywhere (a crash, a full disk) reads up to its last whole record.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::recording {

inline constexpr std::string_view kMagic = "KESTROVA-REC 1";

// The header line; `note` (for people: when the recording began) must not hold a line end.
std::string header(std::string_view note);
std::string record(std::int64_t milliseconds, std::string_view bytes);

// The file starts with the header line (as opposed to a raw capture of the line).
bool isRecording(std::string_view file);

struct Chunk {
    std::int64_t milliseconds = 0;
    std::string bytes;
    friend bool operator==(const Chunk&, const Chunk&) = default;
};

struct Contents {
    std::string note;           // the header's free text
    std::vector<Chunk> chunks;  // in file order; a record cut off in its bytes gives what it has
    bool whole = true;          // false: cut off or damaged at `stoppedAt`
    std::size_t stoppedAt = 0;  // byte offset of the record where reading stopped
    std::size_t record = 0;     // that record's number, counted from 1
    std::string problem;        // what was wrong there
};

// Reads a file that isRecording() accepts.
Contents parse(std::string_view file);

}  // namespace kestrova::recording
