// The stream's sources: a piece of the stream at a time, from a capture or a recording being
// replayed or from the generator.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "output/Recording.h"

namespace kestrova::sim {

struct Piece {
    double silenceBefore = 0;  // seconds the line stays quiet before these bytes
    std::string bytes;
    // Seconds from the start of the playback when these bytes are due; the line stays quiet
    // until then. Negative: as soon as the line is free.
    double startAt = -1;
};

class Source {
  public:
    virtual ~Source() = default;
    // The next piece of the stream; false once it has ended.
    virtual bool next(Piece& out) = 0;
    virtual void displayConnected() {}
    // Things worth telling the operator since the last call (pauses, faults, changes).
    virtual std::vector<std::string> takeNotes() { return {}; }
};

// A capture file sent as it stands, without the pauses it may have had on the line.
class ReplaySource : public Source {
  public:
    explicit ReplaySource(std::string bytes) : bytes_(std::move(bytes)) {}
    bool next(Piece& out) override;

  private:
    std::string bytes_;
    std::size_t at_ = 0;
};

// A recording of the display's side of the line, played with its own timing: every chunk
// starts when it began to arrive, counted from the first, so its pauses come back too. A
// chunk that is due while the line is still busy follows at line pace.
class TimedReplaySource : public Source {
  public:
    explicit TimedReplaySource(std::vector<recording::Chunk> chunks);
    bool next(Piece& out) override;
    // Seconds from the first chunk's start until the line has carried the last one.
    double length() const;

  private:
    double startOf(std::size_t i) const;

    std::vector<recording::Chunk> chunks_;
    std::size_t at_ = 0;
};

// What --replay plays: a recording with its timing, anything else as raw bytes at line pace.
struct Replay {
    std::unique_ptr<Source> source;
    bool timed = false;
    double length = 0;    // seconds of line time
    std::string warning;  // where a damaged or cut-off recording stopped; "" when whole
};
Replay loadReplay(std::string file);

}  // namespace kestrova::sim
