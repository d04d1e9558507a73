#include <gtest/gtest.h>

#include <string>

#include "status/MagTable.h"
#include "tests/display/DisplayRig.h"
#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

// x 3068 -> VectX 50, y 2048 -> VectY 0: due right of the antenna, magnitude 50.
const std::string kPacket = bearingPacket("3068", "2048", "S42", "045P");

struct PathRig : StationRig {
    PathRig() { CreateTables(st); }
    int needles() const {
        int n = 0;
        for (const auto& e : display.log) {
            n += e == "needle";
        }
        return n;
    }
};

TEST(StationPath, BearingPacketsFromTheLineToNeedleReadoutAndMeter) {
    PathRig r;
    for (int i = 1; i <= 24; ++i) {
        r.feed(kPacket);
        ASSERT_TRUE(r.st.RxBuffer.empty()) << i;
        ASSERT_EQ(r.needles(), i) << "every packet turns the needle";
        if (i <= 19) {
            // The compass is taken after the needle has turned on the 19th.
            ASSERT_DOUBLE_EQ(r.display.needleValue, 90) << i;
        } else {
            ASSERT_DOUBLE_EQ(r.display.needleValue, 135) << i;  // 90 + heading 45
        }
        if (i < 24) {
            ASSERT_EQ(r.display.text(El::DOA), "") << i;
        }
        if (i < 3) {
            ASSERT_FALSE(r.display.line(El::SMeter).set) << i;
        }
    }
    EXPECT_DOUBLE_EQ(r.display.needleStrength, 50 / 99.0);
    EXPECT_EQ(r.display.needleColour, kYellow);
    EXPECT_EQ(r.display.text(El::DOA), "135 ");
    EXPECT_EQ(r.display.text(El::Banner_RelBear), "ABS");
    const LineState& s = r.display.line(El::SMeter);
    EXPECT_EQ(s.y2, 2200 - 15 * 60);  // 42 x 1.43 = 60.06
    EXPECT_EQ(s.colour, kYellow);
}

TEST(StationPath, DamagedBearingPacketLeavesEverythingAsItWas) {
    PathRig r;
    r.feed(kPacket);
    const std::size_t logSize = r.display.log.size();
    r.feed(bearingPacket("30X8", "2048", "S42", "045P"));
    EXPECT_TRUE(r.st.RxBuffer.empty());
    EXPECT_EQ(r.display.log.size(), logSize);
    EXPECT_EQ(r.st.VectX, 50);
}

TEST(StationPath, GpsPacketFollowedByBearingInOneRead) {
    PathRig r;
    r.feed("D-33521234+151123456\r\n" + kPacket);
    EXPECT_EQ(r.display.text(El::Banner_GPS_Sexa_Lat), "33\xB0 52' 07.4\" S");
    EXPECT_EQ(r.display.text(El::Banner_GPS_Sexa_Lon), "151\xB0 12' 20.7\" E");
    EXPECT_DOUBLE_EQ(r.display.needleValue, 90);
}

}  // namespace
}  // namespace kestrova::testing
