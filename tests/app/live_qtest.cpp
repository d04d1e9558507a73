// The whole program on a real pseudo-terminal with real timers: what the processor sends is
// what the operator sees, and what goes stale is blanked on time.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>

#include <filesystem>
#include <fstream>

#include "app/KestrovaApp.h"
#include "display/NeedleGauge.h"
#include "tests/fakes/Pty.h"
#include "tests/fakes/Spin.h"

namespace kestrova::testing {
namespace {

struct Live : ::testing::Test {
    void SetUp() override {
        ASSERT_FALSE(pty.path.empty());
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        const std::string ini =
            "RxCOMport=1\r\nCenterOnScreen=1\r\nHideConfigButton=0\r\n"
            "AlwaysOnTop=0\r\nPortDevice01=" +
            pty.path + "\r\n";
        std::ofstream(folder / "Kestrova.ini", std::ios::binary) << ini;
        std::ofstream(folder / "Kestrova.bak", std::ios::binary) << ini;
        // The mount pictures the build put beside the test programs, when there.
        const std::filesystem::path bin = QCoreApplication::applicationDirPath().toStdString();
        for (const char* bmp : {"Ant-GND-Win32.bmp", "Ant-AIR-Win32.bmp"}) {
            std::error_code ec;
            std::filesystem::copy_file(bin / bmp, folder / bmp, ec);
        }
        app = std::make_unique<KestrovaApp>(AppSetup{folder.string(), folder.string(), {}});
        ASSERT_TRUE(app->start());
        ASSERT_TRUE(app->line().isOpen());
    }
    void TearDown() override {
        app.reset();
        std::filesystem::remove_all(folder);
    }
    std::string text(El e) { return app->window().text(e); }
    bool visible(El e) { return !app->window().element(e)->isHidden(); }
    NeedleGauge& gauge() { return *app->window().gauge(); }
    LineElement& meter(El e) { return *static_cast<LineElement*>(app->window().element(e)); }
    // Sends bearing packets at about the line's pace, letting the poll timer take each one.
    void bearings(int n, const std::string& packet) {
        for (int i = 0; i < n; ++i) {
            pty.send(packet);
            spinFor(4);
        }
        ASSERT_TRUE(spinUntil([&] { return app->station().RxBuffer.empty(); }));
    }

    // With KESTROVA_SCREENSHOTS set to a folder, each state the operator meets is saved there.
    void shot(const char* name) {
        if (const char* dir = std::getenv("KESTROVA_SCREENSHOTS")) {
            app->window().grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
        }
    }

    Pty pty;
    std::filesystem::path folder;
    std::unique_ptr<KestrovaApp> app;
};

TEST_F(Live, StreamToScreenAndStaleDataBlanked) {
    // Antenna and status: banners, battery icon, and the acknowledgements on the line.
    pty.send("CQAX-7741C-1, 100-200/0, 300-400/0\r\n");
    pty.send("AFM/S,IF 25,GND,LCL,HIGH,02,HNT,BAT,REL\r\n");
    ASSERT_TRUE(spinUntil([&] { return text(El::Banner_Op_Mode) == "FM/S"; }));
    EXPECT_EQ(text(El::Banner_Ant_Mod), "QAX-7741C-1");
    EXPECT_EQ(text(El::Banner_Ant_Band), " 300-400 MHz");
    EXPECT_EQ(text(El::Banner_Video_Gain), "HIGH");
    EXPECT_TRUE(visible(El::BatteryMeter));
    EXPECT_FALSE(visible(El::FrameDFOff));
    ASSERT_TRUE(spinUntil([&] { return pty.received().find("\r\n\r\n") != std::string::npos; }));

    // Vector (50, 0), S-meter 42, compass 090 with flag P: absolute from packet 19 on.
    bearings(48, "B30682048S42090P\r\n");
    EXPECT_EQ(text(El::Banner_RelBear), "ABS");
    EXPECT_EQ(text(El::DOA), "180 ");
    EXPECT_DOUBLE_EQ(gauge().needleValue(), 180.0);
    EXPECT_EQ(gauge().needleColour(), QColor(255, 255, 0));
    EXPECT_NEAR(gauge().strength(), 50.0 / 99.0, 1e-9);
    EXPECT_EQ(meter(El::SMeter).end1().y() - meter(El::SMeter).end2().y(), 60);  // 42 x 1.43
    shot("absolute-low-battery");

    // A GPS fix fills the four labels.
    pty.send("D-33521234+151123456\r\n");
    ASSERT_TRUE(
        spinUntil([&] { return text(El::Banner_GPS_Decimal_Lon) != "---\xB0  --.----'  -"; }));
    EXPECT_EQ(text(El::Banner_GPS_Sexa_Lat), "33\xB0 52' 07.4\" S");
    EXPECT_EQ(text(El::Banner_GPS_Decimal_Lon), "151\xB0 12.3456' E");
    shot("live-bearing-gps");

    // Garbage: the buffer resynchronises and the stream goes on.
    pty.send(std::string(430, '#'));
    ASSERT_TRUE(spinUntil([&] { return text(El::Textbox2) == "Pkt Corr"; }));
    // Vector (0, 99): full strength. The compass field is only read on packets 19 and 38, so
    // the heading of 90 still applies.
    bearings(6, "B20484068S99999P\r\n");
    EXPECT_EQ(gauge().needleValue(), 90.0);
    EXPECT_EQ(gauge().needleColour(), QColor(0, 255, 64));
    EXPECT_EQ(meter(El::SMeter).colour(), QColor(255, 0, 0));

    // Direction finding off: needle parked, readout blanked, the sign shown.
    pty.send("AFM/S,IF 25,GND,LCL,HIGH,02,RCV,BRT,REL\r\n");
    ASSERT_TRUE(spinUntil([&] { return visible(El::FrameDFOff); }));
    EXPECT_EQ(gauge().needleValue(), 360.0);
    EXPECT_EQ(gauge().strength(), 0.0);
    EXPECT_EQ(text(El::DOA), " - - -");
    EXPECT_FALSE(visible(El::BatteryMeter));
    shot("df-off");

    // On again, one more bearing, then silence: 30 idle ticks and 2 s later the needle parks
    // and the readout blanks; 5 s after the last fix the position goes too.
    pty.send("AFM/S,IF 25,GND,LCL,HIGH,02,HNT,BRT,REL\r\n");
    ASSERT_TRUE(spinUntil([&] { return !visible(El::FrameDFOff); }));
    bearings(48, "B30682048S42999P\r\n");  // the compass is gone: relative again
    ASSERT_EQ(text(El::Banner_RelBear), "REL");
    ASSERT_EQ(gauge().needleValue(), 90.0);
    ASSERT_EQ(text(El::DOA), "090 ");
    spinFor(1500);
    EXPECT_EQ(gauge().needleValue(), 90.0) << "not yet: the link-loss timer has not fired";
    ASSERT_TRUE(spinUntil([&] { return gauge().needleValue() == 360.0; }, 2000));
    EXPECT_EQ(text(El::DOA), " - - -");
    EXPECT_EQ(text(El::Banner_GPS_Decimal_Lon), "151\xB0 12.3456' E");
    shot("link-lost");
    ASSERT_TRUE(spinUntil(
        [&] { return text(El::Banner_GPS_Decimal_Lon) == "---\xB0  --.----'  -"; }, 4000));
    EXPECT_EQ(text(El::Banner_GPS_Sexa_Lat), "--\xB0  --'  --.-\" -");
    shot("gps-lost");

    // The stay-alive went out about twice a second all along.
    const auto nuls = std::count(pty.received().begin(), pty.received().end(), '\0');
    EXPECT_GE(nuls, 10);
}

}  // namespace
}  // namespace kestrova::testing
