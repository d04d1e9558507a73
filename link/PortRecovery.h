#pragma once
// Opens the port by itself when its device comes (back): after an adapter was pulled and
// plugged in again, or when it was not there yet at start-up. A pseudo-terminal's number is
// never taken again on trust, since it may belong to someone else's terminal by then.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/SerialLine.h"
#include "core/Timer.h"
#include "link/DeviceState.h"

namespace kestrova {

class PortRecovery {
  public:
    using Report = std::function<void(std::string_view)>;
    using Inspect = std::function<DeviceState(const std::string&)>;

    PortRecovery(SerialLine& line, Timer& retry, Report report, Inspect inspect = InspectDevice)
        : line_(line), retry_(retry), report_(std::move(report)), inspect_(std::move(inspect)) {}

    // The open port's device went away: say so and wait for it to come back.
    void lost();
    // The port could not be opened (at start-up): wait for its device to appear. False when
    // it will not be waited for (a pseudo-terminal's own name, or no device at all).
    bool awaitDevice();
    // One attempt, on every tick of the retry timer.
    void retryTick();
    // A network line's open only starts connecting: the connection is up (a failed attempt
    // comes as lost()).
    void connected();
    bool waiting() const { return waiting_; }

  private:
    bool wait();

    SerialLine& line_;
    Timer& retry_;
    Report report_;
    Inspect inspect_;
    bool waiting_ = false;
    bool wasOpen_ = false;
    bool connecting_ = false;  // a retry's connection is on its way
    std::string reported_;     // the last reason given for a connection
    std::int16_t port_ = 0;
    std::string device_;
    DeviceState atLoss_;
};

}  // namespace kestrova
