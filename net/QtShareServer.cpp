#include "net/QtShareServer.h"

#include <QHostAddress>
#include <algorithm>

#include "net/QtNetworkLine.h"
#include "net/Share.h"

namespace kestrova {

namespace {

// Little kept in the system for a watcher, so that one that stops reading shows in the backlog.
constexpr int kSendBuffer = 8 * 1024;
constexpr qint64 kIgnoredInput = 64;

std::string peerOf(const QTcpSocket& s) {
    Endpoint e;
    e.host = s.peerAddress().toString().toStdString();
    e.port = s.peerPort();
    return HostPort(e);
}

}  // namespace

QtShareServer::QtShareServer(const std::string& note, QObject* parent)
    : QObject(parent), server_(this), greeting_(share::Greeting(note)) {
    clock_.start();
    connect(&server_, &QTcpServer::newConnection, this, [this] { accept(); });
    connect(&heartbeat_, &QTimer::timeout, this,
            [this] { sendAll(share::Heartbeat(clock_.elapsed())); });
}

QtShareServer::~QtShareServer() {
    for (QTcpSocket* w : std::vector<QTcpSocket*>(watchers_)) {
        forget(w);
    }
}

std::string QtShareServer::listen(const Endpoint& address) {
    QHostAddress host;
    if (!host.setAddress(QString::fromStdString(address.host))) {
        return "'" + address.host + "' is no address of this machine";
    }
    if (!server_.listen(host, address.port)) {
        return server_.errorString().toLower().toStdString();
    }
    heartbeat_.start(static_cast<int>(share::kHeartbeatMs));
    return {};
}

void QtShareServer::accept() {
    while (QTcpSocket* w = server_.nextPendingConnection()) {
        KeepLinkHealthy(*w);
        w->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSendBuffer);
        // What a watcher sends is never read: a little fills this, and TCP holds back the rest.
        w->setReadBufferSize(kIgnoredInput);
        connect(w, &QTcpSocket::disconnected, this, [this, w] { forget(w); });
        // A watcher whose window stays shut (it stopped reading) or that is gone without a
        // word times out.
        connect(w, &QTcpSocket::errorOccurred, this, [this, w](QAbstractSocket::SocketError e) {
            if (e != QAbstractSocket::RemoteHostClosedError) {
                drop(w, w->errorString().toLower().toStdString());
            }
        });
        watchers_.push_back(w);
        (void)w->write(greeting_.data(), static_cast<qint64>(greeting_.size()));
        if (onNotice) {
            onNotice("Watcher " + peerOf(*w) + " connected.");
        }
    }
}

void QtShareServer::publish(std::string_view bytes) {
    if (!watchers_.empty()) {
        sendAll(share::Chunk(clock_.elapsed(), bytes));
    }
}

void QtShareServer::sendAll(const std::string& record) {
    std::vector<QTcpSocket*> behind;
    for (QTcpSocket* w : watchers_) {
        (void)w->write(record.data(), static_cast<qint64>(record.size()));
        if (w->bytesToWrite() > kMaxBacklog) {
            behind.push_back(w);
        }
    }
    for (QTcpSocket* w : behind) {
        drop(w, "it fell behind by more than " + std::to_string(kMaxBacklog / 1024) + " KiB");
    }
}

void QtShareServer::drop(QTcpSocket* watcher, const std::string& why) {
    const std::string peer = peerOf(*watcher);
    forget(watcher);
    if (onNotice) {
        onNotice("Watcher " + peer + " dropped: " + why + ".");
    }
}

void QtShareServer::forget(QTcpSocket* watcher) {
    const auto it = std::find(watchers_.begin(), watchers_.end(), watcher);
    if (it == watchers_.end()) {
        return;
    }
    watchers_.erase(it);
    watcher->disconnect(this);
    watcher->abort();
    watcher->deleteLater();
}

}  // namespace kestrova
