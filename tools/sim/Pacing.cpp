#include "tools/sim/Pacing.h"

#include <cmath>

namespace kestrova::sim {

std::uint64_t bytesAllowed(double seconds, int baud) {
    if (seconds <= 0) {
        return 0;
    }
    // A hair of tolerance so that exactly n character times allow n characters despite
    // rounding in the division.
    return static_cast<std::uint64_t>(std::floor(seconds * baud / kBitsPerChar + 1e-9));
}

double lineSeconds(std::uint64_t bytes, int baud) {
    return static_cast<double>(bytes) * kBitsPerChar / baud;
}

void Pacer::restart(double now) {
    origin_ = now;
    sent_ = 0;
}

std::size_t Pacer::budget(double now) {
    const std::uint64_t allowed = bytesAllowed(now - origin_, baud_);
    if (allowed <= sent_) {
        return 0;
    }
    if (allowed - sent_ > maxBurst_) {
        // Held up: move the origin so that exactly one burst is due now.
        origin_ = now - lineSeconds(sent_ + maxBurst_, baud_);
        return maxBurst_;
    }
    return static_cast<std::size_t>(allowed - sent_);
}

double Pacer::nextDue() const {
    return origin_ + lineSeconds(sent_ + 1, baud_);
}

}  // namespace kestrova::sim
