// Where the bytes come from: the generated processor stream, or a capture being replayed.
#pragma once

#include <array>
#include <deque>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "tools/sim/Drive.h"
#include "tools/sim/Model.h"
#include "tools/sim/Options.h"
#include "tools/sim/Packets.h"
#include "tools/sim/Replay.h"

namespace kestrova::sim {

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
    // The next packet, or noise, with the faults due.
    std::string nextPacket();
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
    std::optional<Drive> drive_;  // a drive past a transmitter, when one is asked for
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
