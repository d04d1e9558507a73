#include <gtest/gtest.h>

#include <algorithm>

#include "tests/app/StartRig.h"

namespace kestrova::testing {
namespace {

const std::string kDefaults =
    "RxCOMport=3\r\nCenterOnScreen=1\r\nMainTop=0\r\nMainLeft=0\r\nHideConfigButton=0\r\n"
    "AlwaysOnTop=0\r\n";

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
