#pragma once
// The last bearings the digital readout showed, kept as fading marks for the dial's rim.

#include <cstddef>
#include <deque>

namespace kestrova {

class BearingHistory {
  public:
    struct Mark {
        double degrees;
        double strength;  // 1 for the newest, fading towards kFaintest for the oldest kept
    };
    static constexpr double kFaintest = 0.2;

    // length 0 keeps nothing: the history is off.
    explicit BearingHistory(std::size_t length = 0) : length_(length) {}

    // Keeps at most the newest `length` readouts from now on.
    void setLength(std::size_t length);
    std::size_t length() const { return length_; }

    // A bearing the readout showed, in degrees; false (nothing kept) while the history is off.
    bool add(double degrees);
    // The bearings stopped: the link was lost or direction finding went off.
    void clear() { degrees_.clear(); }

    std::size_t size() const { return degrees_.size(); }
    // Oldest first, so the newest is drawn last, on top. Strength falls with age measured in
    // readouts against the length, so a mark fades at the same pace however full the
    // history is.
    Mark mark(std::size_t i) const;

  private:
    std::size_t length_;
    std::deque<double> degrees_;
};

}  // namespace kestrova
