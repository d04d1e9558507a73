#pragma once
// The serial line on QSerialPort. Input is polled by the caller; only line errors are passed
// on as the event notification.

#include <QObject>
#include <QSerialPort>
#include <functional>

#include "core/SerialLine.h"

namespace kestrova {

class QtSerialLine : public QObject, public SerialLine {
    Q_OBJECT
  public:
    // Maps a port number (1..16) to the device to open; empty when the number has none.
    using DeviceFor = std::function<std::string(std::int16_t)>;

    explicit QtSerialLine(DeviceFor deviceFor, QObject* parent = nullptr);

    void setPortNumber(std::int16_t number) override { port_ = number; }
    std::int16_t portNumber() const override { return port_; }
    std::string device() const override { return deviceFor_ ? deviceFor_(port_) : std::string(); }
    bool open() override;
    std::string openFailure() const override { return failure_; }
    void close() override;
    bool isOpen() const override { return port.isOpen(); }
    int handle() const override;
    void setLineOptions(const LineOptions& options) override;
    bool readInput(std::string& into) override;
    bool writeOutput(std::string_view text) override;

  private:
    void applyControlLines();
    void errorOccurred(QSerialPort::SerialPortError e);

    QSerialPort port;
    DeviceFor deviceFor_;
    std::int16_t port_ = 1;
    LineOptions options_;
    bool configuring_ = false;
    bool opening_ = false;
    std::string failure_;
};

}  // namespace kestrova
