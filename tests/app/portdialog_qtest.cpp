// The whole program on two pseudo-terminals named through PortDeviceNN keys: start-up opens
// the configured one, the port dialog lists both, cancels and switches, and the choice survives
// a restart.

#include <gtest/gtest.h>

#include <QKeyEvent>

#include "tests/fakes/Program.h"

namespace kestrova::testing {
namespace {

TEST(PortDialog, ListsPreselectsCancelsSwitchesAndRemembers) {
    Pty one, two;
    ProgramFolder folder(one.path, two.path);
    auto app = folder.start();
    ASSERT_TRUE(app->line().isOpen());
    EXPECT_EQ(app->line().portNumber(), 1);
    app->butConfig_Click();
    frmPortSelect* dialog = app->portDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowTitle(), " Select Serial Port");
    ASSERT_EQ(dialog->cboComPort()->count(), 2);
    EXPECT_EQ(dialog->cboComPort()->itemText(0) + dialog->cboComPort()->itemText(1), "COM1COM2");
    EXPECT_EQ(dialog->cboComPort()->currentText(), "COM1");
    EXPECT_EQ(dialog->deviceLabel()->text().toStdString(), one.path);
    EXPECT_TRUE(app->line().isOpen()) << "the port in use is reopened after the probe";
    EXPECT_EQ(app->window().text(El::Textbox2), "") << "failed probes are no line events";
    if (const char* dir = std::getenv("KESTROVA_SCREENSHOTS")) {
        dialog->grab().save(QString::fromUtf8(dir) + "/port-dialog.png");
    }
    // Cancel keeps the port and the settings.
    const std::string before = folder.read("Kestrova.ini");
    dialog->cboComPort()->setCurrentIndex(1);
    dialog->cmdCancel()->click();
    ASSERT_TRUE(spinUntil([&] { return app->portDialog() == nullptr; }));
    EXPECT_EQ(app->line().portNumber(), 1);
    EXPECT_TRUE(app->line().isOpen());
    EXPECT_EQ(folder.read("Kestrova.ini"), before);

    app->butConfig_Click();
    dialog = app->portDialog();
    ASSERT_NE(dialog, nullptr);
    app->butConfig_Click();  // again while open: every port is listed a second time
    EXPECT_EQ(app->portDialog(), dialog);
    EXPECT_EQ(dialog->cboComPort()->count(), 4);

    dialog->cboComPort()->setCurrentIndex(1);
    EXPECT_EQ(dialog->deviceLabel()->text().toStdString(), two.path);
    dialog->cmdOK()->click();
    ASSERT_TRUE(spinUntil([&] { return app->portDialog() == nullptr; }));
    EXPECT_EQ(app->line().portNumber(), 2);
    EXPECT_NE(folder.read("Kestrova.ini").find("RxCOMport=2\r\n"), std::string::npos);
    EXPECT_EQ(folder.read("Kestrova.ini"), folder.read("Kestrova.bak"));
    // The new port carries the stream: a status packet is shown and acknowledged.
    two.send("AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BAT,REL\r\n");
    ASSERT_TRUE(spinUntil([&] { return app->window().text(El::Banner_Op_Mode) == "FM/S"; }));
    EXPECT_TRUE(spinUntil([&] { return two.received().find("\r\n") != std::string::npos; }));

    app.reset();
    app = folder.start();  // restarted
    EXPECT_EQ(app->line().portNumber(), 2);
    EXPECT_TRUE(app->line().isOpen());
    // A device given for this run takes the place of the stored port, and is not stored.
    const std::string stored = folder.read("Kestrova.ini");
    app.reset();
    app = folder.start(one.path);
    EXPECT_EQ(app->line().portNumber(), 2);
    one.send("AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BAT,REL\r\n");
    ASSERT_TRUE(spinUntil([&] { return app->window().text(El::Banner_Op_Mode) == "FM/S"; }));
    EXPECT_EQ(folder.read("Kestrova.ini") + folder.read("Kestrova.bak"), stored + stored);
}

// A long device path shows its start and its end, the whole of it as the tooltip; Configure
// again when the ports have gone leaves the open dialog as it was; Enter is OK.
TEST(PortDialog, LongPathsEnterAndPortsThatVanish) {
    Pty one;
    ProgramFolder folder("", "/nonexistent/kestrova-port");
    const auto link = folder.path / "serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    std::filesystem::create_directories(link.parent_path());
    std::filesystem::create_symlink(one.path, link);
    std::string ini = folder.read("Kestrova.ini");
    ini.replace(ini.find("PortDevice01=") + 13, 0, link.string());
    folder.write("Kestrova.ini", ini);
    folder.write("Kestrova.bak", ini);

    auto app = folder.start();
    ASSERT_TRUE(app->line().isOpen());
    app->butConfig_Click();
    frmPortSelect* dialog = app->portDialog();
    ASSERT_NE(dialog, nullptr);
    const std::string shown = dialog->deviceLabel()->text().toStdString();
    EXPECT_TRUE(shown.starts_with(folder.path.string().substr(0, 4))) << shown;
    EXPECT_TRUE(shown.ends_with("port0")) << shown;
    EXPECT_NE(shown.find("\xE2\x80\xA6"), std::string::npos) << shown;  // an ellipsis
    EXPECT_EQ(dialog->deviceLabel()->toolTip().toStdString(), link.string());

    std::filesystem::remove(link);  // the adapter is pulled out
    {
        BoxCloser boxes;
        app->butConfig_Click();
        EXPECT_EQ(boxes.closed, 1) << "no ports found";
    }
    ASSERT_EQ(app->portDialog(), dialog);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->cboComPort()->count(), 1);

    BoxCloser boxes;  // COM1 cannot be opened now
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(dialog, &enter);
    EXPECT_TRUE(spinUntil([&] { return app->portDialog() == nullptr; }));
}

}  // namespace
}  // namespace kestrova::testing
