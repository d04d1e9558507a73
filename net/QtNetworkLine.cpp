#include "net/QtNetworkLine.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <QElapsedTimer>
#include <algorithm>

namespace kestrova {

namespace {

// Unanswered data or keep-alive probes for this long end the connection.
constexpr unsigned kUserTimeoutMs = 3000;
constexpr int kKeepIdleS = 2;
constexpr int kKeepIntervalS = 1;
constexpr int kKeepCount = 2;

std::string reasonOf(QAbstractSocket::SocketError e, const QString& text) {
    switch (e) {
        case QAbstractSocket::ConnectionRefusedError:
            return "connection refused";
        case QAbstractSocket::HostNotFoundError:
            return "host name not found";
        case QAbstractSocket::RemoteHostClosedError:
            return "closed by the server";
        case QAbstractSocket::SocketTimeoutError:
            return "timed out";
        default:
            break;
    }
    const std::string t = text.toLower().toStdString();
    if (t.find("unreachable") != std::string::npos) {
        return "no route to host";
    }
    return t.find("timed out") != std::string::npos ? "timed out" : t;
}

// A server that hung up during the probation, with the first line it said (printable, short).
std::string ClosedAtOnce(std::string_view said) {
    constexpr std::size_t kShown = 80;
    std::string line;
    for (const char c : said.substr(0, said.find_first_of("\r\n"))) {
        line += c >= ' ' && c < 127 ? c : '?';
    }
    if (line.size() > kShown) {
        line = line.substr(0, kShown) + "...";
    }
    return "closed at once by the server" + (line.empty() ? "" : ": " + line);
}

}  // namespace

void KeepLinkHealthy(QAbstractSocket& socket) {
    socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    const auto fd = static_cast<int>(socket.socketDescriptor());
    // Best effort: a system without one of these still connects.
    (void)::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &kKeepIdleS, sizeof kKeepIdleS);
    (void)::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &kKeepIntervalS, sizeof kKeepIntervalS);
    (void)::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &kKeepCount, sizeof kKeepCount);
    (void)::setsockopt(fd, IPPROTO_TCP, TCP_USER_TIMEOUT, &kUserTimeoutMs, sizeof kUserTimeoutMs);
}

QtNetworkLine::QtNetworkLine(QObject* parent) : QObject(parent), socket_(this) {
    socket_.setReadBufferSize(static_cast<qint64>(kMaxPending));
    connectTimer_.setSingleShot(true);
    probation_.setSingleShot(true);
    silence_.setSingleShot(true);
    connect(&connectTimer_, &QTimer::timeout, this, [this] { failed("timed out"); });
    connect(&probation_, &QTimer::timeout, this, [this] { probationOver(); });
    connect(&silence_, &QTimer::timeout, this, [this] {
        failed("owner gone (nothing for " + std::to_string(protocol_->silenceLimitMs() / 1000) +
               " s)");
    });
    connect(&socket_, &QTcpSocket::connected, this, [this] { socketConnected(); });
    connect(&socket_, &QTcpSocket::readyRead, this, [this] { arrived(); });
    connect(&socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        failed(e == QAbstractSocket::RemoteHostClosedError ? hungUp()
                                                           : reasonOf(e, socket_.errorString()));
    });
    connect(&socket_, &QTcpSocket::disconnected, this, [this] { failed(hungUp()); });
}

QtNetworkLine::~QtNetworkLine() {
    // A socket going down says so; nothing here is left to hear it.
    socket_.disconnect(this);
    socket_.abort();
}

bool QtNetworkLine::open() {
    failure_.clear();
    if (state_ != State::Closed) {
        failure_ = "already open";
        return false;
    }
    protocol_ = ProtocolFor(endpoint_.scheme);
    (void)protocol_->lineOptions(options_);
    pending_.clear();
    state_ = State::Connecting;
    connectTimer_.start(kConnectTimeoutMs);
    socket_.connectToHost(QString::fromStdString(endpoint_.host), endpoint_.port);
    return true;
}

void QtNetworkLine::close() {
    state_ = State::Closed;
    connectTimer_.stop();
    probation_.stop();
    silence_.stop();
    socket_.abort();
    pending_.clear();
}

void QtNetworkLine::socketConnected() {
    if (state_ != State::Connecting) {
        return;
    }
    connectTimer_.stop();
    KeepLinkHealthy(socket_);
    state_ = State::Probation;
    probation_.start(kProbationMs);
    if (protocol_->silenceLimitMs() > 0) {
        silence_.start(static_cast<int>(protocol_->silenceLimitMs()));
    }
    send(protocol_->greeting());
}

void QtNetworkLine::probationOver() {
    if (state_ != State::Probation) {
        return;
    }
    state_ = State::Up;
    if (onConnected) {
        onConnected();
    }
    if (state_ == State::Up && !pending_.empty() && onDataWaiting) {
        onDataWaiting();
    }
}

void QtNetworkLine::arrived() {
    if (state_ != State::Probation && state_ != State::Up) {
        return;
    }
    std::string data;
    std::string replies;
    while (pending_.size() + data.size() < kMaxPending && socket_.bytesAvailable() > 0) {
        const QByteArray in =
            socket_.read(static_cast<qint64>(kMaxPending - pending_.size() - data.size()));
        protocol_->receive(std::string_view(in.constData(), static_cast<std::size_t>(in.size())),
                           data, replies);
    }
    send(replies);
    for (const std::string& n : protocol_->takeNotices()) {
        if (onNotice) {
            onNotice(n);
        }
    }
    if (!protocol_->problem().empty()) {
        failed(protocol_->problem());
        return;
    }
    if (protocol_->silenceLimitMs() > 0) {
        silence_.start(static_cast<int>(protocol_->silenceLimitMs()));
    }
    pending_ += data;
    if (state_ == State::Up && !data.empty() && onDataWaiting) {
        onDataWaiting();
    }
}

std::string QtNetworkLine::hungUp() const {
    // Whatever the server said before hanging up at once is its reason, not the processor's.
    return state_ == State::Probation ? ClosedAtOnce(pending_) : "closed by the server";
}

void QtNetworkLine::failed(std::string why) {
    if (state_ == State::Closed) {
        return;
    }
    close();
    failure_ = std::move(why);
    if (onLost) {
        onLost();
    }
}

void QtNetworkLine::send(const std::string& bytes) {
    if (!bytes.empty()) {
        (void)socket_.write(bytes.data(), static_cast<qint64>(bytes.size()));
    }
}

void QtNetworkLine::setLineOptions(const LineOptions& options) {
    options_ = options;
    if (state_ == State::Probation || state_ == State::Up) {
        send(protocol_->lineOptions(options_));
    }
}

bool QtNetworkLine::readInput(std::string& into) {
    if (state_ == State::Closed) {
        return false;
    }
    if (state_ == State::Up) {
        into += pending_;
        pending_.clear();
        // A server held back by a full buffer goes on, once this read is over.
        if (socket_.bytesAvailable() > 0) {
            QMetaObject::invokeMethod(
                this, [this] { arrived(); }, Qt::QueuedConnection);
        }
    }
    return true;
}

bool QtNetworkLine::writeOutput(std::string_view text) {
    if (state_ != State::Probation && state_ != State::Up) {
        return false;
    }
    const std::string encoded = protocol_->encode(text);
    return encoded.empty() || socket_.write(encoded.data(), static_cast<qint64>(encoded.size())) ==
                                  static_cast<qint64>(encoded.size());
}

std::string ProbeEndpoint(const Endpoint& endpoint, int timeoutMs) {
    QTcpSocket socket;
    socket.connectToHost(QString::fromStdString(endpoint.host), endpoint.port);
    if (!socket.waitForConnected(timeoutMs)) {
        const auto e = socket.error();
        return e == QAbstractSocket::UnknownSocketError ? "timed out"
                                                        : reasonOf(e, socket.errorString());
    }
    const std::unique_ptr<LinkProtocol> protocol = ProtocolFor(endpoint.scheme);
    const std::string greeting = protocol->greeting();
    socket.write(greeting.data(), static_cast<qint64>(greeting.size()));
    std::string said;
    std::string replies;
    QElapsedTimer t;
    t.start();
    for (qint64 left = QtNetworkLine::kProbationMs; left > 0 && protocol->problem().empty();
         left = QtNetworkLine::kProbationMs - t.elapsed()) {
        if (!socket.waitForReadyRead(static_cast<int>(left))) {
            break;
        }
        const QByteArray in = socket.readAll();
        protocol->receive(std::string_view(in.constData(), static_cast<std::size_t>(in.size())),
                          said, replies);
    }
    if (!protocol->problem().empty()) {
        return protocol->problem();
    }
    if (socket.state() != QAbstractSocket::ConnectedState) {
        return ClosedAtOnce(said);
    }
    socket.abort();
    return {};
}

}  // namespace kestrova
