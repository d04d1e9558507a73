#pragma once
// The last bearings the digital readout showed, kept as fading marks for the dial's rim.

#include <cstddef>
#include <deque>
#include <optional>
#include <string_view>

namespace kestrova {

// The bearing a readout text shows, in degrees 0 up to 360: "123." is 123.5 (the dot stands
// for about half a degree), "045 " is 45. Nothing for the blank " - - -" or any other text.
std::optional<double> ReadoutDegrees(std::string_view readout);

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

    // A text the readout was given. A bearing is kept (true); anything else, the weak-signal
    // blank included, leaves the history as it is.
    bool shown(std::string_view readout);
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
