// The bearing-log reader on a log with every kind of row it meets: both forms, a byte order
// mark, CR LF and LF, rows out of order, damaged rows of each kind; and its times.
#include <gtest/gtest.h>

#include "fix/BearingLogReader.h"

namespace kestrova::fix {
namespace {

constexpr std::string_view kLog =
    "\xEF\xBB\xBFtime,bearing,mode,signal,band,latitude,longitude\r\n"
    "2024-05-01 14:03:07.123,123.,ABS,57,138-174,52.372181,4.893355\r\n"
    "2024-05-01 14:03:06.900,124,ABS,61,\"a,\"\"b\"\"\",52.3721,4.8933\r\n"  // out of order
    "2024-05-01 14:03:07.590,124,REL,61,x,52.37,4.89\r\n"                    // no heading
    "2024-05-01 14:03:08.000,125,ABS,61,x,,\r\n"                             // no position
    "2024-05-01 14:03:08.100,360,ABS,61,x,52.3,4.8\r\n"                      // damaged from here
    "2024-05-01 14:03:08.200,125,ABS,61,x,0.000000,0.000000\r\n"
    "2024-05-01 14:03:08.300,125,ABS,61,x,91.0,4.8\r\n"
    "2024-05-01 14:03:08.400,125,ABS,61,x,52.3\r\n"
    "garbage\r\n"
    "2024-13-01 14:03:08.400,125,ABS,61,x,52.3,4.8\r\n"
    "2024-05-01 14:03:08.500,12a,ABS,61,x,52.3,4.8\r\n"
    "2024-05-01 14:03:08.600,125,XYZ,61,x,52.3,4.8\r\n"
    "2024-05-01 14:03:08.650,125,ABS,610,x,52.3,4.8\r\n"
    "2024-05-01 14:03:08.700,125,ABS,61,x,52.3,\r\n"
    "\n"
    "time,bearing,mode,signal,band,latitude,longitude,true_bearing\n"
    "2024-05-01 14:04:00.000,010,REL,50,x,52.4,4.9,359.95\n"
    "2024-05-01 14:04:01.000,010,ABS,50,x,52.4,4.9,\n"  // made no line
    "2024-05-01 14:04:02.000,010,ABS,50,x,52.4,4.9,360\n"
    "2024-05-01 14:04:03.000,010,ABS,50,x,52.4,4.9\n"
    "2024-05-01 14:04:04,010,ABS,50,x,52.4,4.9,0.0";

TEST(BearingLogReader, UsesTheGoodRowsAndCountsTheRest) {
    LogOptions o;
    o.declinationDegrees = 2;
    LogContents c;
    ReadBearingLog(kLog, o, c);
    Finish(c);
    EXPECT_EQ(c.rows, 7);
    EXPECT_EQ(c.damaged, 12);
    EXPECT_EQ(c.noPosition, 1);
    EXPECT_EQ(c.noHeading, 2);
    EXPECT_EQ(c.track.size(), 6u);
    const std::vector<std::pair<std::string, double>> want = {
        {"2024-05-01 14:03:06.900", 126.4},  // no dot: tenths 0-2 or 8-9, four on average
        {"2024-05-01 14:03:07.123", 125.5},
        {"2024-05-01 14:04:00.000", 359.95},
        {"2024-05-01 14:04:04", 0.0}};
    ASSERT_EQ(c.bearings.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(c.bearings[i].timeText, want[i].first);
        EXPECT_NEAR(c.bearings[i].trueBearing, want[i].second, 1e-9) << i;
    }
    EXPECT_EQ(c.bearings[1].station, (GeoPosition{52.372181, 4.893355}));
    EXPECT_EQ(c.bearings[3].local.second, 4);

    o.since = ParseLogTime("2024-05-01 14:03:07.2");
    o.until = ParseLogTime("2024-05-01 14:04:01");
    LogContents window;
    ReadBearingLog(kLog, o, window);
    EXPECT_EQ(window.rows, 4);
    EXPECT_EQ(window.damaged, 12);
    ASSERT_EQ(window.bearings.size(), 1u);
    EXPECT_EQ(window.bearings[0].trueBearing, 359.95);
}

TEST(BearingLogReader, TimesOrderAcrossDaysMonthsAndYears) {
    const auto ms = [](const char* t) { return ParseLogTime(t).value_or(-1); };
    EXPECT_EQ(ms("2024-01-01 00:00:00.000") - ms("2023-12-31 23:59:59.999"), 1);
    EXPECT_EQ(ms("2000-03-01 00:00:00") - ms("2000-02-29 00:00:00"), 86400000);
    EXPECT_EQ(ms("2023-03-01 00:00:00") - ms("2023-02-28 00:00:00"), 86400000);
    EXPECT_EQ(ms("2024-05-01 14:03:07.5"), ms("2024-05-01 14:03:07.500"));
    EXPECT_EQ(ms("2024-05-01 14:03:07.05") - ms("2024-05-01 14:03:07"), 50);
    for (const char* bad :
         {"2024-05-01T14:03:07", "2024-05-01 24:00:00", "2024-05-01 14:60:00",
          "2024-05-01 14:03:07.", "2024-05-01 14:03:07.1234", "2024-00-01 1:03:07",
          "2024-05-32 14:03:07", "0000-05-01 14:03:07", "2024-05-01 14:03"}) {
        EXPECT_FALSE(ParseLogTime(bad)) << bad;
    }
}

}  // namespace
}  // namespace kestrova::fix
