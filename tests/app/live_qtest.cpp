// The whole program on a real pseudo-terminal with real timers: what the processor sends is
// what the operator sees, and what goes stale is blanked on time. Each case runs on virtual
// ticks and again with PollTimer=1, on the 2 ms timer.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tests/fakes/Program.h"
#include "widgets/LineElement.h"
#include "widgets/NeedleGauge.h"

namespace kestrova::testing {
namespace {

const std::string kNoLon = "---\xB0  --.----'  -";

struct Live : ::testing::TestWithParam<bool> {
    void SetUp() override {
        ASSERT_FALSE(pty.path.empty());
        ASSERT_TRUE(app->line().isOpen());
        ASSERT_EQ(app->pollsEvery2ms(), GetParam());
    }
    std::string text(El e) { return app->window().text(e); }
    bool visible(El e) { return !app->window().element(e)->isHidden(); }
    double needle() { return app->window().gauge()->needleValue(); }
    NeedleGauge& gauge() { return *app->window().gauge(); }
    LineElement& meter() { return *static_cast<LineElement*>(app->window().element(El::SMeter)); }
    // Sends bearing packets at about the line's pace, letting the poll timer take each one.
    void bearings(int n, const std::string& packet) {
        for (int i = 0; i < n; ++i) {
            pty.send(packet);
            spinFor(4);
        }
        ASSERT_TRUE(spinUntil([&] { return app->station().link.RxBuffer.empty(); }));
    }
    void send(const std::string& packet, El e, const std::string& until) {
        pty.send(packet);
        ASSERT_TRUE(spinUntil([&] { return text(e) == until; })) << packet;
    }
    // The far end goes away.
    void hangUp() {
        pty.hangUp();
        ASSERT_TRUE(spinUntil([&] { return !app->line().isOpen(); }));
    }
    // With KESTROVA_SCREENSHOTS set to a folder, each state the operator meets is saved there.
    void shot(const char* name) {
        if (const char* dir = std::getenv("KESTROVA_SCREENSHOTS")) {
            app->window().grab().save(QString::fromUtf8(dir) + "/" + name + ".png");
        }
    }

    Pty pty;
    ProgramFolder folder{pty.path, "", GetParam() ? "PollTimer=1\r\n" : ""};
    std::unique_ptr<KestrovaApp> app = folder.start();
};

TEST_P(Live, StreamToScreen) {
    // Antenna and status: banners, battery icon, and the acknowledgements on the line.
    pty.send("CQAX-7741C-1, 100-200/0, 300-400/0\r\n");
    send("AFM/S,IF 25,GND,LCL,HIGH,02,HNT,BAT,REL\r\n", El::Banner_Op_Mode, "FM/S");
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
    EXPECT_DOUBLE_EQ(needle(), 180.0);
    EXPECT_EQ(gauge().needleColour(), QColor(255, 255, 0));
    EXPECT_NEAR(gauge().strength(), 50.0 / 99.0, 1e-9);
    EXPECT_EQ(meter().end1().y() - meter().end2().y(), 60);  // 42 x 1.43
    shot("absolute-low-battery");

    // A GPS fix fills the four labels.
    send("D-33521234+151123456\r\n", El::Banner_GPS_Decimal_Lon, "151\xB0 12.3456' E");
    EXPECT_EQ(text(El::Banner_GPS_Sexa_Lat), "33\xB0 52' 07.4\" S");
    shot("live-bearing-gps");

    // Garbage: the buffer resynchronises and the stream goes on. Vector (0, 99): full
    // strength; the compass field is only read on packets 19 and 38, so 90 still applies.
    send(std::string(430, '#'), El::Textbox2, "Pkt Corr");
    bearings(6, "B20484068S99999P\r\n");
    EXPECT_EQ(needle(), 90.0);
    EXPECT_EQ(gauge().needleColour(), QColor(0, 255, 64));
    EXPECT_EQ(meter().colour(), QColor(255, 0, 0));

    // Direction finding off: needle parked, readout blanked, the sign shown.
    send("AFM/S,IF 25,GND,LCL,HIGH,02,RCV,BRT,REL\r\n", El::DOA, " - - -");
    EXPECT_TRUE(visible(El::FrameDFOff));
    EXPECT_EQ(needle(), 360.0);
    EXPECT_EQ(gauge().strength(), 0.0);
    EXPECT_FALSE(visible(El::BatteryMeter));
    shot("df-off");
}

// After the last bearing, 30 idle ticks and 2 s later the needle parks and the readout
// blanks, also when the stream stopped in the middle of a packet; 5 s after the last fix the
// position goes too. The stay-alive goes out throughout. Then the far end goes away in the
// middle of a packet: the half packet is forgotten and the bearing goes stale all the same.
TEST_P(Live, StaleDataIsBlankedOnTimeWhereverTheStreamStops) {
    send("D-33521234+151123456\r\n", El::Banner_GPS_Decimal_Lon, "151\xB0 12.3456' E");
    bearings(48, "B30682048S42999P\r\n");
    ASSERT_EQ(text(El::Banner_RelBear), "REL");
    ASSERT_EQ(text(El::DOA), "090 ");
    pty.send("B30682");
    spinFor(1800);
    EXPECT_EQ(needle(), 90.0) << "not yet: the link-loss timer has not fired";
    ASSERT_TRUE(spinUntil([&] { return needle() == 360.0; }, 1500));
    EXPECT_EQ(text(El::DOA), " - - -");
    EXPECT_EQ(text(El::Banner_GPS_Decimal_Lon), "151\xB0 12.3456' E");
    shot("link-lost");
    ASSERT_TRUE(spinUntil([&] { return text(El::Banner_GPS_Decimal_Lon) == kNoLon; }, 4000));
    EXPECT_EQ(text(El::Banner_GPS_Sexa_Lat), "--\xB0  --'  --.-\" -");
    shot("gps-lost");
    EXPECT_GE(std::count(pty.received().begin(), pty.received().end(), '\0'), 8);

    pty.send("48S42999P\r\n");
    bearings(48, "B30682048S42999P\r\n");
    ASSERT_EQ(text(El::DOA), "090 ");
    pty.send("B306");
    ASSERT_TRUE(spinUntil([&] { return app->station().link.RxBuffer == "B306"; }));
    hangUp();
    EXPECT_TRUE(app->station().link.RxBuffer.empty());
    ASSERT_TRUE(spinUntil([&] { return needle() == 360.0; }, 2500));
    EXPECT_EQ(text(El::DOA), " - - -");
}

// The far end of a raw terminal number goes away; the next terminals made on this machine
// may get that number. None of them is opened or written to.
TEST_P(Live, ARawTerminalNumberIsNotTakenAgainAfterALoss) {
    const std::string number = pty.path;
    hangUp();
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
    app.reset();
    const std::string link = (folder.path / "late").string();
    BoxCloser boxes;
    app = folder.start(link);
    EXPECT_EQ(boxes.closed, 1);
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
}

INSTANTIATE_TEST_SUITE_P(Modes, Live, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& mode) {
                             return mode.param ? "PollTimer" : "VirtualTicks";
                         });

}  // namespace
}  // namespace kestrova::testing
