#include <gtest/gtest.h>

#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

// Bytes on the line, through framing and dispatch, to the banners and back out as replies.
TEST(StatusPath, PacketsOnTheLineReachTheBannersAndAreAnswered) {
    StationRig r;
    r.st.dataFolder = "/prog";
    r.display.setVisible(El::FrameDFOff, false);
    r.display.setVisible(El::BatteryMeter, false);
    const std::string bearing = "B30682048S42045P\r\n";
    const std::string antenna = "CQAX-7741C-1, 1000-1010/-450, 1100-1110/-450,1200-1210/-450\r\n";

    struct Step {
        std::string name;
        std::vector<std::string> chunks;  // fed one after another, each drained by poll ticks
        std::string replies;
    };
    const std::vector<Step> steps = {
        {"antenna list", {antenna.substr(0, 20), antenna.substr(20)}, "\r\n"},
        {"status split around a bearing packet",
         {bearing + "AFM/S,IF 25,AIR,LCL,", "HIGH,02,HNT,BAT,REL\r\n" + bearing},
         "\r\n"},
        {"receive only, then an unknown mode",
         {"AFM/S,IF 25,AIR,LCL,HIGH,02,RCV,BRT,REL\r\nAFM/S,IF 25,AIR,LCL,HIGH,03,XXX,BRT\r\n"},
         "\r\n\a\r\n"},
        {"bad mount answers nothing", {"AAM,IF 6,AIRX,RMT,LOW,01,HNT,BRT\r\n"}, ""},
    };
    for (const auto& s : steps) {
        for (const auto& chunk : s.chunks) {
            r.feed(chunk);
        }
        EXPECT_EQ(r.line.takeWritten(), s.replies) << s.name;
    }

    EXPECT_TRUE(r.st.RxBuffer.empty());
    EXPECT_EQ(r.display.text(El::Banner_Ant_Mod), "QAX-7741C-1");
    EXPECT_EQ(r.display.text(El::Banner_Op_Mode), "AM");
    EXPECT_EQ(r.display.text(El::Banner_IF_BW), "IF 6");
    EXPECT_EQ(r.display.text(El::Banner_Local_Remote), "LCL");
    EXPECT_EQ(r.display.text(El::Banner_Video_Gain), "HIGH");
    // Band 3 arrived on the line rejected for its mode: fields before the mode still count.
    EXPECT_EQ(r.st.BandIndex, 3);
    EXPECT_EQ(r.display.text(El::Banner_Ant_Band), "1200-1210 MHz");
    EXPECT_EQ(r.st.BandOffset[3], -450.0f);
    EXPECT_EQ(r.display.picture(El::Banner_AntOrientation), "/prog/Ant-AIR-Win32.bmp");
    EXPECT_TRUE(r.display.isVisible(El::FrameDFOff));
    EXPECT_FALSE(r.st.DF_Enabled);
    EXPECT_FALSE(r.display.isVisible(El::BatteryMeter));
}

}  // namespace
}  // namespace kestrova::testing
