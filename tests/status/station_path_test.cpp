#include <gtest/gtest.h>

#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

// Bytes on the line, through framing and dispatch, to the banners and back out as replies.
TEST(StatusPath, PacketsOnTheLineReachTheBannersAndAreAnswered) {
    StationRig r;
    r.st.dataFolder = "/prog";
    const std::string bearing = "B30682048S42045P\r\n";
    const std::string antenna = "CQAX-7741C-1, 1000-1010/-450, 1100-1110/-450,1200-1210/-450\r\n";
    const std::pair<std::vector<std::string>, std::string> steps[] = {
        // chunks fed one after another, each drained by poll ticks; the replies
        {{antenna.substr(0, 20), antenna.substr(20)}, "\r\n"},
        {{bearing + "AFM/S,IF 25,AIR,LCL,", "HIGH,02,HNT,BAT,REL\r\n" + bearing}, "\r\n"},
        {{"AFM/S,IF 25,AIR,LCL,HIGH,02,RCV,BRT,REL\r\nAFM/S,IF 25,AIR,LCL,HIGH,03,XXX,BRT\r\n"},
         "\r\n\a\r\n"},
        {{"AAM,IF 6,AIRX,RMT,LOW,01,HNT,BRT\r\n"}, ""},  // a bad mount answers nothing
    };
    for (const auto& [chunks, replies] : steps) {
        for (const auto& chunk : chunks) {
            r.feed(chunk);
        }
        EXPECT_EQ(r.line.takeWritten(), replies) << chunks[0];
    }
    EXPECT_TRUE(r.st.link.RxBuffer.empty());
    const std::pair<El, const char*> banners[] = {
        {El::Banner_Ant_Mod, "QAX-7741C-1"}, {El::Banner_Op_Mode, "AM"},
        {El::Banner_IF_BW, "IF 6"},          {El::Banner_Local_Remote, "LCL"},
        {El::Banner_Video_Gain, "HIGH"},     {El::Banner_Ant_Band, "1200-1210 MHz"}};
    for (const auto& [e, text] : banners) {
        EXPECT_EQ(r.window.text(e), text) << elementName(e);
    }
    // Band 3 arrived on the line rejected for its mode: fields before the mode still count.
    EXPECT_EQ(r.st.status.BandIndex, 3);
    EXPECT_EQ(r.st.antenna.BandOffset[3], -450.0f);
    EXPECT_EQ(r.window.at(El::Banner_AntOrientation).picture, "/prog/Ant-AIR-Win32.bmp");
    EXPECT_TRUE(r.window.isVisible(El::FrameDFOff));
    EXPECT_FALSE(r.st.status.DF_Enabled);
    EXPECT_FALSE(r.window.isVisible(El::BatteryMeter));
}

// Fields that are no digits keep arriving: the last good fix must still go within 5 s.
TEST(GpsPath, APositionNeverOutlivesItsTimeOut) {
    for (const std::string bad :
         {"D+3 52123415112345\r\n", "D-33-21234+151123456\r\n", "D-3352123415112\r\n"}) {
        SCOPED_TRACE(bad);
        StationRig r;
        r.Timer4.start();
        r.line.incoming = "D-33521234+151123456\r\n";
        r.clock.advance(2);
        ASSERT_EQ(r.window.text(El::Banner_GPS_Decimal_Lat), "33\xB0 52.1234' S");
        for (int s = 0; s < 4; ++s) {
            r.line.incoming = bad;
            r.clock.advance(1000);
        }
        r.clock.advance(1000);
        EXPECT_EQ(r.window.text(El::Banner_GPS_Decimal_Lat), "--\xB0  --.----'  -");
        EXPECT_EQ(r.st.link.GPSTimedOut, 1);
    }
}

}  // namespace
}  // namespace kestrova::testing
