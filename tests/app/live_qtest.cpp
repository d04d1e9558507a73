// The whole program on a real pseudo-terminal with real timers: what the processor sends is
// what the operator sees, and what goes stale is blanked on time. Each case runs on virtual
// ticks and again with PollTimer=1, on the 2 ms timer.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>

#include <filesystem>
#include <fstream>

#include <QApplication>
#include <QTimer>

#include "app/KestrovaApp.h"
#include "display/NeedleGauge.h"
#include "tests/fakes/Pty.h"
#include "tests/fakes/Spin.h"

namespace kestrova::testing {
namespace {

struct Live : ::testing::TestWithParam<bool> {
    void SetUp() override {
        ASSERT_FALSE(pty.path.empty());
        start(pty.path);
        ASSERT_TRUE(app->line().isOpen());
    }
    // A program folder whose port 1 is `device`, and the program started on it.
    void start(const std::string& device) {
        if (!folder.empty()) {
            std::filesystem::remove_all(folder);
        }
        std::string pattern = (std::filesystem::temp_directory_path() / "kestrova-XXXXXX").string();
        folder = mkdtemp(pattern.data());
        const std::string ini =
            "RxCOMport=1\r\nCenterOnScreen=1\r\nHideConfigButton=0\r\n"
            "AlwaysOnTop=0\r\nPortDevice01=" +
            device + "\r\n" + (GetParam() ? "PollTimer=1\r\n" : "");
        std::ofstream(folder / "Kestrova.ini", std::ios::binary) << ini;
        std::ofstream(folder / "Kestrova.bak", std::ios::binary) << ini;
        // The mount pictures the build put beside the test programs, when there.
        const std::filesystem::path bin = QCoreApplication::applicationDirPath().toStdString();
        for (const char* bmp : {"Ant-GND-Win32.bmp", "Ant-AIR-Win32.bmp"}) {
            std::error_code ec;
            std::filesystem::copy_file(bin / bmp, folder / bmp, ec);
        }
        app = std::make_unique<KestrovaApp>(folder.string());
        ASSERT_TRUE(app->start());
        ASSERT_EQ(app->pollsEvery2ms(), GetParam());
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
        ASSERT_TRUE(spinUntil([&] { return app->station().link.RxBuffer.empty(); }));
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

// Closes each modal box that comes up, as an operator pressing OK would.
struct BoxCloser {
    BoxCloser() {
        timer.setInterval(20);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                ++closed;
                box->close();
            }
        });
        timer.start();
    }
    QTimer timer;
    int closed = 0;
};

TEST_P(Live, StreamToScreenAndStaleDataBlanked) {
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

// The stream stops in the middle of a packet, and then the far end goes away in the middle
// of another: the bearing goes stale on time both ways, and the half packet is forgotten.
TEST_P(Live, StopInMidPacketAndFarEndGoneMidPacketBothGoStale) {
    bearings(48, "B30682048S42999P\r\n");
    ASSERT_EQ(text(El::DOA), "090 ");
    pty.send("B30682");
    spinFor(1800);
    EXPECT_EQ(gauge().needleValue(), 90.0) << "not yet";
    ASSERT_TRUE(spinUntil([&] { return gauge().needleValue() == 360.0; }, 1500));
    EXPECT_EQ(text(El::DOA), " - - -");

    pty.send("48S42999P\r\n");
    bearings(48, "B30682048S42999P\r\n");
    ASSERT_EQ(text(El::DOA), "090 ");
    pty.send("B306");
    ASSERT_TRUE(spinUntil([&] { return app->station().link.RxBuffer == "B306"; }));
    ::close(pty.slave);
    pty.slave = -1;
    ::close(pty.master);
    pty.master = -1;
    ASSERT_TRUE(spinUntil([&] { return !app->line().isOpen(); }));
    EXPECT_TRUE(app->station().link.RxBuffer.empty());
    ASSERT_TRUE(spinUntil([&] { return gauge().needleValue() == 360.0; }, 2500));
    EXPECT_EQ(text(El::DOA), " - - -");
}

// The simulator stops its stream in the middle of a packet, then after line noise: each time
// the needle parks (the antenna is on the ground, so 360 means parked) and comes back.
TEST_P(Live, TheSimulatorsMidPacketStopsParkTheNeedleEachTime) {
    app.reset();
    const std::filesystem::path bin = QCoreApplication::applicationDirPath().toStdString();
    const std::string link =
        (std::filesystem::temp_directory_path() / ("kestrova-sim-pty-" + std::to_string(getpid())))
            .string();
    const std::string command = (bin / "kestrova-sim").string() + " --link " + link +
                                " --scenario " KESTROVA_SOURCE_DIR
                                "/tools/sim/scenarios/mid-packet-stop.scn > /dev/null 2>&1 & "
                                "echo $!";
    FILE* started = ::popen(command.c_str(), "r");
    ASSERT_NE(started, nullptr);
    int sim = 0;
    ASSERT_EQ(std::fscanf(started, "%d", &sim), 1);
    ::pclose(started);
    ASSERT_TRUE(spinUntil([&] { return std::filesystem::exists(link); }));
    start(link);
    ASSERT_TRUE(app->line().isOpen());
    std::string phases;  // L for live, P for parked, one letter per change
    spinUntil(
        [&] {
            const char now = gauge().needleValue() == 360.0 ? 'P' : 'L';
            if (phases.empty() || phases.back() != now) {
                phases += now;
                if (now == 'P') {
                    EXPECT_EQ(text(El::DOA), " - - -");
                }
            }
            return phases.rfind("LPLP", 0) == 0;
        },
        14000);
    EXPECT_EQ(phases.substr(0, 4), "LPLP") << "L live, P parked: " << phases;
    ::kill(sim, SIGTERM);
}

// The far end of a raw terminal number goes away; the next terminals made on this machine
// may get that number. None of them is opened or written to.
TEST_P(Live, ARawTerminalNumberIsNotTakenAgainAfterALoss) {
    const std::string number = pty.path;
    ::close(pty.slave);
    pty.slave = -1;
    ::close(pty.master);
    pty.master = -1;
    ASSERT_TRUE(spinUntil([&] { return !app->line().isOpen(); }));
    EXPECT_NE(text(El::StatusDisp).find("is not reopened by itself; use Configure."),
              std::string::npos);
    std::vector<std::unique_ptr<Pty>> others;
    for (int i = 0; i < 8 && (others.empty() || others.back()->path != number); ++i) {
        others.push_back(std::make_unique<Pty>());
    }
    spinFor(1500);
    EXPECT_FALSE(app->line().isOpen());
    for (auto& other : others) {
        EXPECT_EQ(other->received(), "") << other->path;
    }
}

// The adapter is plugged in 4 s after start-up: the box is shown, the status line says why
// and that it retries, and the program connects by itself.
TEST_P(Live, ADeviceThatAppearsAfterStartUpIsConnected) {
    app.reset();  // the fixture's own start is not wanted here
    std::filesystem::remove_all(folder);
    const std::string link =
        (std::filesystem::temp_directory_path() / ("kestrova-late-" + std::to_string(getpid())))
            .string();
    std::filesystem::remove(link);
    BoxCloser boxes;
    start(link);
    EXPECT_EQ(boxes.closed, 1);
    EXPECT_FALSE(app->line().isOpen());
    EXPECT_NE(text(El::StatusDisp).find("> Port 1, " + link + ": no such device; retrying."),
              std::string::npos)
        << text(El::StatusDisp);
    spinFor(4000);
    EXPECT_FALSE(app->line().isOpen());
    Pty late;
    std::filesystem::create_symlink(late.path, link);
    ASSERT_TRUE(spinUntil([&] { return app->line().isOpen(); }, 1500));
    EXPECT_NE(text(El::StatusDisp).find("Serial port " + link + " opened."), std::string::npos);
    late.send("AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BAT,REL\r\n");
    EXPECT_TRUE(spinUntil([&] { return late.received().find("\r\n") != std::string::npos; }));
    EXPECT_EQ(boxes.closed, 1);
    std::filesystem::remove(link);
}

INSTANTIATE_TEST_SUITE_P(Modes, Live, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& mode) {
                             return mode.param ? "PollTimer" : "VirtualTicks";
                         });

}  // namespace
}  // namespace kestrova::testing
