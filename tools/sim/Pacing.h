// Line pacing: bytes go out in small chunks at the rate the serial line would carry them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kestrova::sim {

inline constexpr int kBaud = 19200;
inline constexpr int kBitsPerChar = 10;  // start bit, 8 data bits, stop bit

// Characters the line carries in `seconds` (whole characters only; 0 for negative times).
std::uint64_t bytesAllowed(double seconds, int baud = kBaud);

// Seconds the line needs for `bytes` characters.
double lineSeconds(std::uint64_t bytes, int baud = kBaud);

class Pacer {
  public:
    // `maxBurst`: characters that may go out at once after the loop was held up; credit beyond
    // it is forgotten, because a real line cannot catch up either.
    explicit Pacer(int baud = kBaud, std::size_t maxBurst = 96)
        : baud_(baud), maxBurst_(maxBurst) {}

    // The line starts (or resumes after a silence) at `now`; no credit is carried over.
    void restart(double now);
    // Characters that may be written at `now`.
    std::size_t budget(double now);
    void sent(std::size_t n) { sent_ += n; }
    // When the next character becomes due.
    double nextDue() const;

  private:
    int baud_;
    std::size_t maxBurst_;
    double origin_ = 0;
    std::uint64_t sent_ = 0;
};

}  // namespace kestrova::sim
