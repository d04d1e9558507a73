// The reference the program's CPU is measured against: a plain Qt window and a serial port
// read every 2 ms, and nothing else. Usage: kestrova_bare_poll DEVICE
#include <QApplication>
#include <QSerialPort>
#include <QTimer>
#include <QWidget>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestrova_bare_poll DEVICE\n");
        return 2;
    }
    QWidget window;
    window.resize(490, 226);
    window.show();

    QSerialPort port(QString::fromLocal8Bit(argv[1]));
    port.setBaudRate(QSerialPort::Baud19200);
    if (!port.open(QIODevice::ReadWrite)) {
        std::fprintf(stderr, "kestrova_bare_poll: %s\n", qPrintable(port.errorString()));
        return 1;
    }
    // A line that went away would keep the port's notifier firing: stop instead.
    QObject::connect(&port, &QSerialPort::errorOccurred, [&](QSerialPort::SerialPortError e) {
        if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError) {
            app.exit(1);
        }
    });
    QTimer poll;
    poll.setTimerType(Qt::PreciseTimer);
    QObject::connect(&poll, &QTimer::timeout, [&] { port.readAll(); });
    poll.start(2);
    return app.exec();
}
