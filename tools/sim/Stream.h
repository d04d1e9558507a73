// Where the bytes come from: the generated processor stream, or a capture being replayed.
#pragma once

#include <array>
#include <deque>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "output/Recording.h"
#include "tools/sim/Model.h"
#include "tools/sim/Options.h"
#include "tools/sim/Packets.h"

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

struct GeneratorTally {
    long faults = 0;
    long pauses = 0;
};

// The processor: bearing packets back to back, with status, GPS and antenna lines slotted in
// on their schedules. Time is line time (characters sent plus silences), so a seed gives the
// same bytes however the program is scheduled.
class StreamGenerator : public Source {
  public:
    explicit StreamGenerator(const Options& opt);
    bool next(Piece& out) override;
    void displayConnected() override;
    std::vector<std::string> takeNotes() override;

    double lineTime() const { return t_; }
    const GeneratorTally& tally() const { return tally_; }

    // The built-in status cycle, one line per step (for tests and the help of the curious).
    static std::vector<std::string> builtInCycle();

  private:
    static constexpr double kNever = std::numeric_limits<double>::infinity();

    void runSchedules();
    void startEvent(const Event& e);  // a scenario event that has fallen due
    void advance(double seconds);
    std::string choosePacket();
    std::string bearingPacket();
    std::string statusPacket();
    std::string garbage();
    void applyFaults(std::string& packet);
    void setAntenna(const std::string& line);
    void note(const std::string& text);

    Options opt_;
    Rng rng_;
    BearingModel bearing_;
    Vehicle vehicle_;
    TuneModel tune_;
    double t_ = 0;

    std::vector<std::string> antennas_;
    std::size_t antenna_ = 0;
    int bandCount_ = 1;
    bool antennaDue_ = true;
    double announceAt_ = kNever;

    StatusLine status_ = defaultStatus();
    std::size_t step_ = 0;
    std::deque<std::string> extra_;

    std::vector<Event> events_;
    std::size_t nextEvent_ = 0;
    double nextStatus_ = 0, nextGps_ = 0.5, nextAntenna_ = kNever;
    double nextPause_ = kNever, nextGpsGap_ = kNever;
    double nextCompassOut_ = 0, nextTune_ = 0;
    double gpsGapUntil_ = 0, compassOffUntil_ = 0, tuneUntil_ = 0;
    double pendingSilence_ = 0;
    double stopMidPacket_ = 0;  // seconds, for the next packet
    double noiseStop_ = 0;
    std::array<double, kFaultKinds> nextFault_{};
    std::array<bool, kFaultKinds> armed_{};
    std::optional<Piece> carry_;

    GeneratorTally tally_;
    std::vector<std::string> notes_;
};

}  // namespace kestrova::sim
