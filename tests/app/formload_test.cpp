#include <gtest/gtest.h>

#include <algorithm>

#include "app/FormLoad.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"
#include "tests/settings/StoreRig.h"

namespace kestrova::testing {
namespace {

struct ShellRecorder : MainWindowShell {
    void SetAlwaysOnTop(bool on) override { onTop.push_back(on); }
    std::vector<bool> onTop;
};

struct AcceptAll : PortProbe {
    bool isRs232(int) override { return true; }
};

struct StartRig : StoreRig {
    explicit StartRig(const std::string& settings) {
        if (!settings.empty()) {
            put("Kestrova.ini", settings);
            put("Kestrova.bak", settings);
        }
        line.available = {{1, true}, {3, true}};
        st.dataFolder = folder.string();
        Timer4.onTick = [this] { ++polls; };
    }
    bool run() {
        StartUp s{st, store, ports, shell, Timer4};
        return Form_Load(s);
    }
    int position(const std::string& entry) const {
        auto it = std::find(display.log.begin(), display.log.end(), entry);
        return it == display.log.end() ? -1 : static_cast<int>(it - display.log.begin());
    }

    FakeSerialLine line;
    Station st{display, line};
    AcceptAll probe;
    PortDevices devices;
    FakeClock timeline;
    FakeTimer& Timer4 = timeline.make(2);
    FakeTimer& StayAliveTmr = timeline.make(500);
    SerialPorts ports{line, store, boxes, probe, devices, StayAliveTmr};
    ShellRecorder shell;
    int polls = 0;
};

const std::string kDefaults =
    "RxCOMport=3\r\nCenterOnScreen=1\r\nMainTop=0\r\nMainLeft=0\r\nHideConfigButton=0\r\n"
    "AlwaysOnTop=0\r\n";

std::string with(const std::string& key, const char* value) {
    std::string s = kDefaults;
    const auto at = s.find(key + "=");
    const auto end = s.find("\r\n", at);
    s.erase(at, end + 2 - at);
    if (value) {
        s += key + "=" + value + "\r\n";
    }
    return s;
}

TEST(FormLoad, BlanksEveryDisplayOpensThePortAndStartsPollingLast) {
    StartRig r(kDefaults);
    r.line.incoming = "B3068204 S42045P\r\n";  // data already waiting is not handled yet
    ASSERT_TRUE(r.run());

    EXPECT_TRUE(r.window.hidden);
    EXPECT_FALSE(r.display.isVisible(El::FrameDFOff));
    EXPECT_FALSE(r.display.isVisible(El::BatteryMeter));
    EXPECT_TRUE(r.display.isVisible(El::butConfig));
    EXPECT_EQ(r.display.text(El::LabelVersion), "Kestrova Release 1.0.1");
    EXPECT_EQ(r.display.text(El::Banner_Ant_Mod), "ANT UNKNOWN");
    EXPECT_EQ(r.display.text(El::Banner_Ant_Band), "");
    EXPECT_EQ(r.st.antenna.BandText[1], "BAND 01");
    EXPECT_EQ(r.display.text(El::DOA), " - - -");
    EXPECT_EQ(r.display.text(El::Banner_RelBear), "REL");
    EXPECT_EQ(r.display.text(El::Banner_GPS_Decimal_Lat), "--\xB0  --.----'  -");
    EXPECT_EQ(r.display.at(El::Banner_AntOrientation).picture,
              (r.folder / "Ant-GND-Win32.bmp").string());
    EXPECT_EQ(r.display.line(El::SMeter).y2, 2200);  // an empty S-meter
    EXPECT_EQ(r.display.line(El::TMeter).y1, 2200 - 15 * 69);
    EXPECT_EQ(r.st.bearing.MagTable[3][4], 5);

    EXPECT_TRUE(r.line.isOpen());
    EXPECT_EQ(r.line.portNumber(), 3);
    EXPECT_TRUE(r.StayAliveTmr.isRunning());
    EXPECT_TRUE(r.Timer4.isRunning());
    EXPECT_EQ(r.polls, 0);
    EXPECT_EQ(r.st.link.RxBuffer, "");
    EXPECT_TRUE(r.line.written.empty()) << "the placeholder antenna is not acknowledged";
    EXPECT_TRUE(r.boxes.boxes.empty());
    EXPECT_EQ(r.status(), "");

    // Displays are blanked before the window learns the version, and both before the port.
    EXPECT_LT(r.position("FrameDFOff hidden"), r.position("LabelVersion=Kestrova Release 1.0.1"));
    EXPECT_LT(r.position("LabelVersion=Kestrova Release 1.0.1"),
              r.position("Banner_Ant_Mod=ANT UNKNOWN"));
}

struct OptionCase {
    const char* hide;  // HideConfigButton value, nullptr when absent
    bool buttonVisible;
    bool reported;
};

TEST(FormLoad, ConfigureButtonFollowsHideConfigButton) {
    const std::vector<OptionCase> cases = {
        {nullptr, true, true}, {"0", true, false},   {"00", true, false},  {"1", false, false},
        {"2", false, false},   {"abc", true, false}, {" 1", false, false}, {"", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hide ? c.hide : "(absent)");
        StartRig r(with("HideConfigButton", c.hide));
        ASSERT_TRUE(r.run());
        EXPECT_EQ(r.display.isVisible(El::butConfig), c.buttonVisible);
        EXPECT_EQ(r.status() == "14:03:07> Err reading .ini file.", c.reported) << r.status();
    }
}

TEST(FormLoad, AlwaysOnTopOnlyForTheNumberOne) {
    const std::vector<std::pair<const char*, bool>> cases = {
        {"1", true},  {"1.0", true},  {"  1", true},    {"0", false},
        {"2", false}, {"one", false}, {nullptr, false},
    };
    for (const auto& [value, top] : cases) {
        SCOPED_TRACE(value ? value : "(absent)");
        StartRig r(with("AlwaysOnTop", value));
        ASSERT_TRUE(r.run());
        EXPECT_EQ(r.shell.onTop, top ? std::vector<bool>{true} : std::vector<bool>{});
        if (!value) {
            EXPECT_EQ(r.status(), "14:03:07> Err reading .ini file.");
        }
    }
}

TEST(FormLoad, AnUnavailablePortStillOpensTheWindowAndPolls) {
    StartRig r(with("RxCOMport", "7"));
    ASSERT_TRUE(r.run());
    EXPECT_FALSE(r.line.isOpen());
    ASSERT_EQ(r.boxes.boxes.size(), 1u);
    EXPECT_TRUE(r.Timer4.isRunning());
    EXPECT_TRUE(r.StayAliveTmr.isRunning());
    EXPECT_EQ(r.display.text(El::DOA), " - - -");
}

TEST(FormLoad, NoSettingsAtAllEndsTheProgramBeforeAnythingRuns) {
    StartRig r("");
    EXPECT_FALSE(r.run());
    EXPECT_EQ(r.endCalls, 1);
    ASSERT_EQ(r.boxes.boxes.size(), 1u);
    EXPECT_EQ(r.boxes.boxes[0].text, kFatal);
    EXPECT_FALSE(r.Timer4.isRunning());
    EXPECT_FALSE(r.StayAliveTmr.isRunning());
    EXPECT_FALSE(r.line.isOpen());
}

}  // namespace
}  // namespace kestrova::testing
