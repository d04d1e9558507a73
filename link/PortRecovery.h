#pragma once
// Reopens the port by itself when its device went away and comes back, so an adapter pulled
// and plugged in again needs no operator.

#include <cstdint>
#include <functional>
#include <string_view>

#include "link/SerialLine.h"
#include "link/Timer.h"

namespace kestrova {

class PortRecovery {
  public:
    using Report = std::function<void(std::string_view)>;

    PortRecovery(SerialLine& line, Timer& retry, Report report)
        : line_(line), retry_(retry), report_(std::move(report)) {}

    // The line lost its device: say so and start trying to reopen it.
    void lost();
    // One attempt, on every tick of the retry timer.
    void retryTick();
    bool waiting() const { return waiting_; }

  private:
    SerialLine& line_;
    Timer& retry_;
    Report report_;
    bool waiting_ = false;
};

}  // namespace kestrova
