// The whole program on two pseudo-terminals named through PortDeviceNN keys: start-up opens
// the configured one, the port dialog lists both and switches, and the choice survives a
// restart.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <pty.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QThread>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/KestrovaApp.h"
#include "tests/fakes/Pty.h"
#include "tests/fakes/Spin.h"

namespace kestrova::testing {
namespace {

struct ProgramFolder {
    // Port 1 on `one`, port 2 on `two`, and the extra settings lines.
    ProgramFolder(const std::string& one, const std::string& two, const std::string& extra = "") {
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-XXXXXX").string();
        path = mkdtemp(pattern.data());
        std::string ini =
            "RxCOMport=1\r\nCenterOnScreen=1\r\nHideConfigButton=0\r\nAlwaysOnTop=0\r\n" + extra;
        ini += "PortDevice01=" + one + "\r\nPortDevice02=" + two + "\r\n";
        for (int p = 3; p <= 16; ++p) {  // nothing else on this machine may show up
            ini += "PortDevice" + std::string(p < 10 ? "0" : "") + std::to_string(p) +
                   "=/nonexistent/kestrova-port\r\n";
        }
        write("Kestrova.ini", ini);
        write("Kestrova.bak", ini);
    }
    ProgramFolder(const Pty& one, const Pty& two) : ProgramFolder(one.path, two.path) {}
    ~ProgramFolder() { std::filesystem::remove_all(path); }
    void write(const std::string& name, const std::string& text) const {
        std::ofstream(path / name, std::ios::binary) << text;
    }
    std::string read(const std::string& name) const {
        std::ifstream in(path / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::filesystem::path path;
};

TEST(PortDialog, ListsPreselectsSwitchesAndRemembers) {
    Pty one, two;
    ASSERT_FALSE(one.path.empty());
    ASSERT_FALSE(two.path.empty());
    ProgramFolder folder(one, two);
    {
        KestrovaApp app({folder.path.string(), folder.path.string(), {}, {}, {}});
        ASSERT_TRUE(app.start());
        ASSERT_TRUE(app.line().isOpen());
        EXPECT_EQ(app.line().portNumber(), 1);

        app.butConfig_Click();
        frmPortSelect* dialog = app.portDialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(dialog->windowTitle(), " Select Serial Port");
        ASSERT_EQ(dialog->cboComPort()->count(), 2);
        EXPECT_EQ(dialog->cboComPort()->itemText(0), "COM1");
        EXPECT_EQ(dialog->cboComPort()->itemText(1), "COM2");
        EXPECT_EQ(dialog->cboComPort()->currentText(), "COM1");
        EXPECT_EQ(dialog->deviceLabel()->text().toStdString(), one.path);
        EXPECT_TRUE(app.line().isOpen()) << "the port in use is reopened after the probe";
        EXPECT_EQ(app.window().text(El::Textbox2), "") << "failed probes are no line events";
        if (const char* dir = std::getenv("KESTROVA_SCREENSHOTS")) {
            dialog->grab().save(QString::fromUtf8(dir) + "/port-dialog.png");
        }

        app.butConfig_Click();  // again while open: every port is listed a second time
        EXPECT_EQ(app.portDialog(), dialog);
        EXPECT_EQ(dialog->cboComPort()->count(), 4);

        dialog->cboComPort()->setCurrentIndex(1);
        EXPECT_EQ(dialog->deviceLabel()->text().toStdString(), two.path);
        dialog->cmdOK()->click();
        ASSERT_TRUE(spinUntil([&] { return app.portDialog() == nullptr; }));
        EXPECT_EQ(app.line().portNumber(), 2);
        EXPECT_TRUE(app.line().isOpen());
        EXPECT_NE(folder.read("Kestrova.ini").find("RxCOMport=2\r\n"), std::string::npos);
        EXPECT_EQ(folder.read("Kestrova.ini"), folder.read("Kestrova.bak"));

        // The new port carries the stream: a status packet is shown and acknowledged.
        two.send("AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BAT,REL\r\n");
        ASSERT_TRUE(spinUntil([&] { return app.window().text(El::Banner_Op_Mode) == "FM/S"; }));
        EXPECT_TRUE(spinUntil([&] { return two.received().find("\r\n") != std::string::npos; }));
    }
    {
        KestrovaApp restarted({folder.path.string(), folder.path.string(), {}, {}, {}});
        ASSERT_TRUE(restarted.start());
        EXPECT_EQ(restarted.line().portNumber(), 2);
        EXPECT_TRUE(restarted.line().isOpen());
    }

    // A device given for this run takes the place of the stored port, and is not stored.
    const std::string stored = folder.read("Kestrova.ini");
    KestrovaApp kiosk({folder.path.string(), folder.path.string(), one.path, {}, {}});
    ASSERT_TRUE(kiosk.start());
    EXPECT_EQ(kiosk.line().portNumber(), 2);
    one.send("AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BAT,REL\r\n");
    ASSERT_TRUE(spinUntil([&] { return kiosk.window().text(El::Banner_Op_Mode) == "FM/S"; }));
    EXPECT_EQ(folder.read("Kestrova.ini"), stored);
    EXPECT_EQ(folder.read("Kestrova.bak"), stored);
}

TEST(PortDialog, CancelKeepsPortAndSettings) {
    Pty one, two;
    ProgramFolder folder(one, two);
    const std::string before = folder.read("Kestrova.ini");
    KestrovaApp app({folder.path.string(), folder.path.string(), {}, {}, {}});
    ASSERT_TRUE(app.start());
    app.butConfig_Click();
    ASSERT_NE(app.portDialog(), nullptr);
    app.portDialog()->cboComPort()->setCurrentIndex(1);
    app.portDialog()->cmdCancel()->click();
    ASSERT_TRUE(spinUntil([&] { return app.portDialog() == nullptr; }));
    EXPECT_EQ(app.line().portNumber(), 1);
    EXPECT_TRUE(app.line().isOpen());
    EXPECT_EQ(folder.read("Kestrova.ini"), before);
}

// Closes each modal box as it comes up, for as long as it lives, and counts them.
struct BoxCloser {
    BoxCloser() {
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                ++closed;
                box->close();
            }
        });
        poll.start(20);
    }
    QTimer poll;
    int closed = 0;
};

// A long device path shows its start and its end, the whole of it as the tooltip; Configure
// again when the ports have gone leaves the open dialog as it was; Enter is OK.
TEST(PortDialog, LongPathsEnterAndPortsThatVanish) {
    Pty one;
    ASSERT_FALSE(one.path.empty());
    ProgramFolder folder("", "/nonexistent/kestrova-port");
    const auto byId = folder.path / "serial/by-id";
    std::filesystem::create_directories(byId);
    const auto link = byId / "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    std::filesystem::create_symlink(one.path, link);
    std::string ini = folder.read("Kestrova.ini");
    ini.replace(ini.find("PortDevice01=") + 13, 0, link.string());
    folder.write("Kestrova.ini", ini);
    folder.write("Kestrova.bak", ini);

    KestrovaApp app({folder.path.string(), folder.path.string(), {}, {}, {}});
    ASSERT_TRUE(app.start());
    ASSERT_TRUE(app.line().isOpen());
    app.butConfig_Click();
    frmPortSelect* dialog = app.portDialog();
    ASSERT_NE(dialog, nullptr);
    const QString shown = dialog->deviceLabel()->text();
    EXPECT_TRUE(shown.startsWith(QString::fromStdString(folder.path.string()).left(4)))
        << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("port0")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
    EXPECT_EQ(dialog->deviceLabel()->toolTip().toStdString(), link.string());

    std::filesystem::remove(link);  // the adapter is pulled out
    {
        BoxCloser boxes;
        app.butConfig_Click();
        EXPECT_EQ(boxes.closed, 1) << "no ports found";
    }
    ASSERT_EQ(app.portDialog(), dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->cboComPort()->count(), 1);

    BoxCloser boxes;  // COM1 cannot be opened now
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog, &enter);
    EXPECT_TRUE(spinUntil([&] { return app.portDialog() == nullptr; }));
}

// The view options from the settings file: the window, and the dialog opened from it, in
// their palette and size; a bad value reported and ignored.
TEST(PortDialog, ViewOptionsFromTheSettingsFile) {
    Pty one, two;
    ProgramFolder folder(one.path, two.path, "Palette=Night\r\nHistory=30\r\nScale=4\r\n");
    KestrovaApp app({folder.path.string(), folder.path.string(), {}, {}, {}});
    ASSERT_TRUE(app.start());
    EXPECT_EQ(app.window().colours(), Palette::Night);
    EXPECT_EQ(app.window().history().length(), 30u);
    EXPECT_EQ(app.window().scale(), 1.0);
    EXPECT_EQ(app.window().text(El::StatusDisp).substr(8),
              "> Scale=4 ignored (a number from 1 to 3)");

    app.butConfig_Click();
    ASSERT_NE(app.portDialog(), nullptr);
    const QImage img = app.portDialog()->grab().toImage();
    int bright = 0, red = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QColor c = img.pixelColor(x, y);
            bright += c.green() > 64 || c.blue() > 64 ? 1 : 0;
            red += c.red() > 100 ? 1 : 0;
        }
    }
    EXPECT_EQ(bright, 0);
    EXPECT_GT(red, 200);
}

}  // namespace
}  // namespace kestrova::testing
