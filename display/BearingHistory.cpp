#include "display/BearingHistory.h"

namespace kestrova {

std::optional<double> ReadoutDegrees(std::string_view readout) {
    if (readout.size() != 4 || (readout[3] != ' ' && readout[3] != '.')) {
        return std::nullopt;
    }
    int whole = 0;
    for (char c : readout.substr(0, 3)) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        whole = whole * 10 + (c - '0');
    }
    // A heading outside 0..359 can push a readout past 359; it points the same way less 360.
    return (whole % 360) + (readout[3] == '.' ? 0.5 : 0.0);
}

void BearingHistory::setLength(std::size_t length) {
    length_ = length;
    while (degrees_.size() > length_) {
        degrees_.pop_front();
    }
}

bool BearingHistory::shown(std::string_view readout) {
    const auto degrees = ReadoutDegrees(readout);
    if (length_ == 0 || !degrees) {
        return false;
    }
    degrees_.push_back(*degrees);
    if (degrees_.size() > length_) {
        degrees_.pop_front();
    }
    return true;
}

BearingHistory::Mark BearingHistory::mark(std::size_t i) const {
    const std::size_t age = degrees_.size() - 1 - i;  // 0 for the newest
    const double faded =
        length_ > 1 ? static_cast<double>(age) / static_cast<double>(length_ - 1) : 0.0;
    return {degrees_[i], 1.0 - (1.0 - kFaintest) * faded};
}

}  // namespace kestrova
