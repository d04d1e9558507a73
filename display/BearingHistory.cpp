#include "display/BearingHistory.h"

namespace kestrova {

void BearingHistory::setLength(std::size_t length) {
    length_ = length;
    while (degrees_.size() > length_) {
        degrees_.pop_front();
    }
}

bool BearingHistory::add(double degrees) {
    if (length_ == 0) {
        return false;
    }
    degrees_.push_back(degrees);
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
