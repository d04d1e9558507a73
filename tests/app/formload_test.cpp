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
    // Every display blanked, the version after them, the mount picture from the data folder.
    EXPECT_EQ(
        r.display.takeLog(),
        "FrameDFOff hidden|BatteryMeter hidden|butConfig shown|LabelVersion=Kestrova "
        "Release 1.0.1|Banner_Ant_Mod=ANT UNKNOWN|Banner_Ant_Band=|SMeter 250,2200:250,2200|TMeter "
        "600,1165:600,1105|DOA= - - -|Banner_GPS_Sexa_Lat=--\xB0  --'  --.-\" "
        "-|Banner_GPS_Sexa_Lon="
        "---\xB0  --'  --.-\" -|Banner_GPS_Decimal_Lat=--\xB0  --.----'  "
        "-|Banner_GPS_Decimal_Lon=---\xB0  --.----'  -|Banner_RelBear=REL|"
        "Banner_AntOrientation<" +
            (r.folder / "Ant-GND-Win32.bmp").string());
    EXPECT_EQ(r.st.antenna.BandText[1], "BAND 01");
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
}

// HideConfigButton hides the button for any number but 0, AlwaysOnTop stacks the window only
// for the number 1; an absent key is reported on the status line.
TEST(FormLoad, ConfigureButtonAndAlwaysOnTopFollowTheirKeys) {
    const std::tuple<const char*, const char*, bool, bool> cases[] = {
        // key, value (nullptr: absent), shown or on top, reported
        {"HideConfigButton", nullptr, true, true}, {"HideConfigButton", "0", true, false},
        {"HideConfigButton", "00", true, false},   {"HideConfigButton", "1", false, false},
        {"HideConfigButton", "2", false, false},   {"HideConfigButton", "abc", true, false},
        {"HideConfigButton", " 1", false, false},  {"HideConfigButton", "", true, false},
        {"AlwaysOnTop", "1", true, false},         {"AlwaysOnTop", "1.0", true, false},
        {"AlwaysOnTop", "  1", true, false},       {"AlwaysOnTop", "0", false, false},
        {"AlwaysOnTop", "2", false, false},        {"AlwaysOnTop", "one", false, false},
        {"AlwaysOnTop", nullptr, false, true}};
    for (const auto& [key, value, on, reported] : cases) {
        SCOPED_TRACE(::testing::Message() << key << "=" << (value ? value : "(absent)"));
        StartRig r(with(key, value));
        ASSERT_TRUE(r.run());
        if (std::string(key) == "AlwaysOnTop") {
            EXPECT_EQ(r.shell.onTop, std::vector<bool>(on ? 1 : 0, true));
        } else {
            EXPECT_EQ(r.display.isVisible(El::butConfig), on);
        }
        EXPECT_EQ(r.status() == "14:03:07> Err reading .ini file.", reported) << r.status();
    }
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
