#include "link/PortRecovery.h"

#include <utility>

namespace kestrova {

bool PortRecovery::wait() {
    port_ = line_.portNumber();
    device_ = line_.device();
    atLoss_ = inspect_(device_);
    if (device_.empty() || IsRawPseudoTerminal(device_, atLoss_)) {
        waiting_ = false;
        retry_.stop();
        return false;
    }
    waiting_ = true;
    retry_.start();
    return true;
}

void PortRecovery::lost() {
    const bool retrying = std::exchange(connecting_, false);
    wasOpen_ = true;
    if (wait() && atLoss_.network) {
        // A connection says why; a retry failing again for the same reason adds nothing.
        const std::string text =
            "Serial port " + device_ + ": " + line_.openFailure() + "; retrying.";
        if (!retrying || text != reported_) {
            report_(text);
        }
        reported_ = text;
    } else if (waiting_) {
        report_("Serial port lost.");
    } else {
        report_("Serial port lost: " + device_ +
                " is a pseudo-terminal and is not reopened by itself; use Configure.");
    }
}

bool PortRecovery::awaitDevice() {
    wasOpen_ = false;
    return wait();
}

void PortRecovery::retryTick() {
    // Someone opened a port meanwhile (the port dialog): nothing left to recover.
    if (!waiting_ || line_.isOpen()) {
        waiting_ = false;
        retry_.stop();
        return;
    }
    if (!MayReopen(device_, atLoss_, inspect_(device_))) {
        return;
    }
    // A failed open at start-up left the line on its previous number.
    const std::int16_t previous = line_.portNumber();
    line_.setPortNumber(port_);
    if (line_.open()) {
        retry_.stop();
        if (atLoss_.network) {
            connecting_ = true;
            return;
        }
        waiting_ = false;
        report_(wasOpen_ ? "Serial port reopened." : "Serial port " + device_ + " opened.");
    } else {
        line_.setPortNumber(previous);
    }
}

void PortRecovery::connected() {
    if (std::exchange(connecting_, false)) {
        waiting_ = false;
        report_("Serial port reopened.");
    }
}

}  // namespace kestrova
