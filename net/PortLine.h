#pragma once
// The line to the processor, whatever its port's device names: a serial device, a serial
// server on the network, or another Kestrova's share to watch. The port numbers and their
// devices stay as the rest of the program knows them; only opening picks the kind of line.

#include <optional>

#include "core/SerialLine.h"
#include "net/Endpoint.h"

namespace kestrova {

// A line that connects to an endpoint. Opening only starts connecting: the connection is
// either up a little later (onConnected) or lost (onLost, with the reason in openFailure()).
class EndpointLine : public SerialLine {
  public:
    virtual void setEndpoint(const Endpoint& endpoint) = 0;

    // The connection is up and the far end did not hang up at once.
    std::function<void()> onConnected;
    // Something the operator should know of the connection, e.g. a baud rate the server set.
    std::function<void(std::string_view)> onNotice;
};

class PortLine : public SerialLine {
  public:
    using DeviceFor = std::function<std::string(std::int16_t)>;

    // `serial` opens device files by the same port numbers.
    PortLine(DeviceFor deviceFor, SerialLine& serial, EndpointLine& network);

    void setPortNumber(std::int16_t port) override;
    std::int16_t portNumber() const override { return port_; }
    std::string device() const override { return deviceFor_ ? deviceFor_(port_) : std::string(); }
    bool open() override;
    std::string openFailure() const override;
    void close() override;
    bool isOpen() const override { return active_ != nullptr && active_->isOpen(); }
    int handle() const override { return active_ != nullptr ? active_->handle() : -1; }
    void setLineOptions(const LineOptions& options) override;
    bool readInput(std::string& into) override;
    bool writeOutput(std::string_view text) override;

    // The endpoint the open port connects to; nothing for a serial device.
    const std::optional<Endpoint>& endpoint() const { return endpoint_; }

    // Everything a read brought, as it was read.
    std::function<void(std::string_view)> onReceived;
    std::function<void()> onConnected;
    std::function<void(std::string_view)> onNotice;

  private:
    DeviceFor deviceFor_;
    SerialLine& serial_;
    EndpointLine& network_;
    SerialLine* active_ = nullptr;
    std::optional<Endpoint> endpoint_;
    std::int16_t port_ = 1;
    std::string failure_;
};

}  // namespace kestrova
