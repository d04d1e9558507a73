#pragma once
// The share: what the owner of the line reads, sent to every watcher as it is read, with a
// heartbeat while the processor is silent. Watchers never slow the owner or one another: one
// that falls behind is dropped, and what they send is never read.

#include <QElapsedTimer>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <functional>
#include <string>
#include <vector>

#include "net/Endpoint.h"

namespace kestrova {

class QtShareServer : public QObject {
    Q_OBJECT
  public:
    // Bytes waiting for one watcher before it is dropped: some seconds of the line.
    static constexpr qint64 kMaxBacklog = qint64{16} * 1024;

    // `note` goes into the greeting line.
    explicit QtShareServer(const std::string& note, QObject* parent = nullptr);
    ~QtShareServer() override;

    // Starts listening; "" when it does, else why not.
    std::string listen(const Endpoint& address);
    // A chunk the owner read.
    void publish(std::string_view bytes);
    int watchers() const { return static_cast<int>(watchers_.size()); }

    // A watcher came or was dropped.
    std::function<void(std::string_view)> onNotice;

  private:
    void accept();
    void sendAll(const std::string& record);
    void drop(QTcpSocket* watcher, const std::string& why);
    void forget(QTcpSocket* watcher);

    QTcpServer server_;
    QTimer heartbeat_;
    QElapsedTimer clock_;
    std::string greeting_;
    std::vector<QTcpSocket*> watchers_;
};

}  // namespace kestrova
