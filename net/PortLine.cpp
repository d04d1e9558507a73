#include "net/PortLine.h"

namespace kestrova {

PortLine::PortLine(DeviceFor deviceFor, SerialLine& serial, EndpointLine& network)
    : deviceFor_(std::move(deviceFor)), serial_(serial), network_(network) {
    for (SerialLine* line : {&serial_, static_cast<SerialLine*>(&network_)}) {
        // Only the line in use speaks for the port.
        line->onDataWaiting = [this, line] {
            if (active_ == line && onDataWaiting) {
                onDataWaiting();
            }
        };
        line->onComm = [this, line] {
            if (active_ == line && onComm) {
                onComm();
            }
        };
        line->onLost = [this, line] {
            if (active_ == line && onLost) {
                onLost();
            }
        };
    }
    network_.onConnected = [this] {
        if (active_ == &network_ && onConnected) {
            onConnected();
        }
    };
    network_.onNotice = [this](std::string_view text) {
        if (active_ == &network_ && onNotice) {
            onNotice(text);
        }
    };
}

void PortLine::setPortNumber(std::int16_t port) {
    port_ = port;
    serial_.setPortNumber(port);
}

bool PortLine::open() {
    failure_.clear();
    if (isOpen()) {
        failure_ = "already open";
        return false;
    }
    const std::string name = device();
    endpoint_.reset();
    if (!IsNetworkName(name)) {
        active_ = &serial_;
        return serial_.open();
    }
    ParsedEndpoint parsed = ParseEndpoint(name);
    if (!parsed.endpoint) {
        active_ = nullptr;
        failure_ = parsed.error;
        return false;
    }
    endpoint_ = parsed.endpoint;
    active_ = &network_;
    network_.setEndpoint(*endpoint_);
    return network_.open();
}

std::string PortLine::openFailure() const {
    if (!failure_.empty() || active_ == nullptr) {
        return failure_;
    }
    return active_->openFailure();
}

void PortLine::close() {
    if (active_ != nullptr) {
        active_->close();
    }
}

void PortLine::setLineOptions(const LineOptions& options) {
    serial_.setLineOptions(options);
    network_.setLineOptions(options);
}

bool PortLine::readInput(std::string& into) {
    if (active_ == nullptr) {
        return false;
    }
    const std::size_t before = into.size();
    const bool read = active_->readInput(into);
    if (into.size() > before && onReceived) {
        onReceived(std::string_view(into).substr(before));
    }
    return read;
}

bool PortLine::writeOutput(std::string_view text) {
    return active_ != nullptr && active_->writeOutput(text);
}

}  // namespace kestrova
