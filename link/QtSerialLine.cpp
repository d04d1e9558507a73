#include "link/QtSerialLine.h"

#include <algorithm>

#include "link/DeviceState.h"

namespace kestrova {

QtSerialLine::QtSerialLine(DeviceFor deviceFor, QObject* parent)
    : QObject(parent), port(this), deviceFor_(std::move(deviceFor)) {
    QObject::connect(&port, &QSerialPort::errorOccurred, this,
                     [this](QSerialPort::SerialPortError e) { errorOccurred(e); });
    QObject::connect(&port, &QSerialPort::readyRead, this, [this] {
        if (onDataWaiting) {
            onDataWaiting();
        }
    });
}

void QtSerialLine::errorOccurred(QSerialPort::SerialPortError e) {
    // Qt reports a cleared error too, a refused modem-line call while we configure, and the
    // failures of an open; only errors of an open port while it reads or writes are line
    // events.
    if (e == QSerialPort::NoError || configuring_ || opening_ || !port.isOpen()) {
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
    failure_.clear();
    if (port.isOpen()) {
        failure_ = "already open";
        return false;
    }
    const std::string name = device();
    if (name.empty()) {
        failure_ = "no device for this port number";
        return false;
    }
    // A folder or a plain file is never a serial line: refused without being opened.
    const DeviceState state = InspectDevice(name);
    if (auto refused = RefuseBeforeOpening(state)) {
        failure_ = *refused;
        return false;
    }
    port.setPortName(QString::fromStdString(name));
    port.setBaudRate(QSerialPort::Baud19200);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(options_.handshaking ? QSerialPort::HardwareControl
                                             : QSerialPort::NoFlowControl);
    opening_ = true;
    const bool opened = port.open(QIODevice::ReadWrite);
    opening_ = false;
    if (!opened) {
        // Qt says "permission" for a device another program holds, too; which of the two it
        // was, the device's own permissions tell.
        const bool busy = port.error() == QSerialPort::PermissionError;
        QString text = port.errorString();
        if (!text.isEmpty()) {
            text[0] = text[0].toLower();
        }
        failure_ = OpenFailureReason(InspectDevice(name), busy, text.toStdString());
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
    // Straight into the buffer: this runs on every tick that has input.
    const qint64 n = port.bytesAvailable();
    if (n > 0) {
        const std::size_t had = into.size();
        into.resize(had + static_cast<std::size_t>(n));
        const qint64 got = port.read(into.data() + had, n);
        into.resize(had + static_cast<std::size_t>(std::max<qint64>(got, 0)));
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
