#include "link/QtSerialLine.h"

namespace kestrova {

QtSerialLine::QtSerialLine(DeviceFor deviceFor, QObject* parent)
    : QObject(parent), port(this), deviceFor_(std::move(deviceFor)) {
    QObject::connect(&port, &QSerialPort::errorOccurred, this,
                     [this](QSerialPort::SerialPortError e) { errorOccurred(e); });
}

void QtSerialLine::errorOccurred(QSerialPort::SerialPortError e) {
    // Qt reports a cleared error too, and a refused modem-line call while we configure;
    // only real line events count.
    if (e == QSerialPort::NoError || configuring_) {
        return;
    }
    if (onComm) {
        onComm();
    }
    // A device that is gone keeps failing every read: close it at once, or its notifier
    // would spin.
    if ((e == QSerialPort::ResourceError || e == QSerialPort::ReadError) && port.isOpen()) {
        port.close();
        if (onLost) {
            onLost();
        }
    }
}

bool QtSerialLine::open() {
    if (port.isOpen()) {
        return false;
    }
    const std::string device = deviceFor_ ? deviceFor_(port_) : std::string();
    if (device.empty()) {
        return false;
    }
    port.setPortName(QString::fromStdString(device));
    port.setBaudRate(QSerialPort::Baud19200);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(options_.handshaking ? QSerialPort::HardwareControl
                                             : QSerialPort::NoFlowControl);
    if (!port.open(QIODevice::ReadWrite)) {
        return false;
    }
    applyControlLines();
    return true;
}

void QtSerialLine::close() {
    if (port.isOpen()) {
        port.close();
    }
}

int QtSerialLine::handle() const {
    return port.isOpen() ? static_cast<int>(port.handle()) : -1;
}

void QtSerialLine::setLineOptions(const LineOptions& options) {
    options_ = options;
    if (port.isOpen()) {
        port.setFlowControl(options_.handshaking ? QSerialPort::HardwareControl
                                                 : QSerialPort::NoFlowControl);
        applyControlLines();
    }
}

void QtSerialLine::applyControlLines() {
    // A pseudo-terminal has no modem lines and refuses these; that is harmless.
    configuring_ = true;
    if (!options_.handshaking) {
        (void)port.setRequestToSend(options_.rts);
    }
    (void)port.setDataTerminalReady(options_.dtr);
    port.clearError();
    configuring_ = false;
}

bool QtSerialLine::readInput(std::string& into) {
    if (!port.isOpen()) {
        return false;
    }
    const qint64 n = port.bytesAvailable();
    if (n > 0) {
        const QByteArray data = port.readAll();
        into.append(data.constData(), static_cast<std::size_t>(data.size()));
    }
    return true;
}

bool QtSerialLine::writeOutput(std::string_view text) {
    if (!port.isOpen()) {
        return false;
    }
    return port.write(text.data(), static_cast<qint64>(text.size())) ==
           static_cast<qint64>(text.size());
}

}  // namespace kestrova
