#include "link/PortRecovery.h"

namespace kestrova {

void PortRecovery::lost() {
    waiting_ = true;
    report_("Serial port lost.");
    retry_.start();
}

void PortRecovery::retryTick() {
    // Someone opened a port meanwhile (the port dialog): nothing left to recover.
    if (!waiting_ || line_.isOpen()) {
        waiting_ = false;
        retry_.stop();
        return;
    }
    if (line_.open()) {
        waiting_ = false;
        retry_.stop();
        report_("Serial port reopened.");
    }
}

}  // namespace kestrova
