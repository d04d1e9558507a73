#pragma once
// The line to the processor over TCP, on Qt Network: raw, Telnet with serial port control, or
// a share to watch (net/LinkProtocol.h). Opening starts connecting and returns at once; the
// connection is on probation for a moment, as a serial server whose device is missing accepts
// and hangs up at once after a line of text, which must not reach the receive buffer.

#include <QObject>
#include <QTcpSocket>
#include <QTimer>
#include <memory>

#include "net/LinkProtocol.h"
#include "net/PortLine.h"

namespace kestrova {

// TCP_NODELAY, keep-alive and a user time-out, so a dead peer is noticed within seconds.
void KeepLinkHealthy(QAbstractSocket& socket);

class QtNetworkLine : public QObject, public EndpointLine {
    Q_OBJECT
  public:
    static constexpr int kConnectTimeoutMs = 3000;
    static constexpr int kProbationMs = 200;
    // Received characters kept for the poll; beyond that the server is held back.
    static constexpr std::size_t kMaxPending = std::size_t{64} * 1024;

    explicit QtNetworkLine(QObject* parent = nullptr);
    ~QtNetworkLine() override;
    QtNetworkLine(const QtNetworkLine&) = delete;
    QtNetworkLine& operator=(const QtNetworkLine&) = delete;

    void setEndpoint(const Endpoint& endpoint) override { endpoint_ = endpoint; }
    // The port number is the port line's; this line knows only its endpoint.
    void setPortNumber(std::int16_t /*port*/) override {}
    std::int16_t portNumber() const override { return 0; }
    std::string device() const override { return HostPort(endpoint_); }
    bool open() override;
    std::string openFailure() const override { return failure_; }
    void close() override;
    bool isOpen() const override { return state_ != State::Closed; }
    int handle() const override { return -1; }
    void setLineOptions(const LineOptions& options) override;
    bool readInput(std::string& into) override;
    bool writeOutput(std::string_view text) override;

    bool connected() const { return state_ == State::Up; }

  private:
    enum class State { Closed, Connecting, Probation, Up };

    void socketConnected();
    void arrived();
    void probationOver();
    void failed(std::string why);
    // Why the server hung up.
    std::string hungUp() const;
    void send(const std::string& bytes);

    QTcpSocket socket_;
    QTimer connectTimer_;
    QTimer probation_;
    QTimer silence_;
    std::unique_ptr<LinkProtocol> protocol_;
    Endpoint endpoint_;
    LineOptions options_;
    State state_ = State::Closed;
    std::string pending_;
    std::string failure_;
};

// Whether the endpoint answers as an open port would, within `timeoutMs` to connect: blocks.
// "" when it does, else why not.
std::string ProbeEndpoint(const Endpoint& endpoint, int timeoutMs);

}  // namespace kestrova
