// The bearing history and the bearing log.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "display/BearingHistory.h"
#include "display/BearingLog.h"
#include "tests/fakes/FakeWindow.h"
#include "tests/fakes/MemoryFile.h"

namespace kestrova::testing {
namespace {

TEST(BearingHistory, ReadoutTextsAreTheDegreesShown) {
    const std::tuple<std::string_view, std::optional<double>> rows[] = {
        {"123.", 123.5}, {"045 ", 45.0}, {"000 ", 0.0}, {"359.", 359.5},
        {"370 ", 10.0},  {" - - -", {}}, {"12 .", {}},  {"1234", {}},
        {"123", {}},     {"", {}},       {"12a ", {}},  {"123 ", 123.0},
    };
    for (const auto& [text, degrees] : rows) {
        EXPECT_EQ(ReadoutDegrees(text), degrees) << "\"" << text << "\"";
    }
}

// Marks oldest first, as degrees and the strength in hundredths.
std::vector<std::pair<double, long>> marks(const BearingHistory& h) {
    std::vector<std::pair<double, long>> out;
    for (std::size_t i = 0; i < h.size(); ++i) {
        out.emplace_back(h.mark(i).degrees, std::lround(h.mark(i).strength * 100));
    }
    return out;
}

// Keeps the newest readouts up to its length, the newest strongest, fading evenly to the
// faintest at the length's end; off at length 0; a shorter length drops the oldest.
TEST(BearingHistory, KeepsTheNewestReadoutsFading) {
    BearingHistory one(1);
    one.shown("123 ");
    EXPECT_EQ(one.mark(0).strength, 1.0);
    BearingHistory off;
    EXPECT_FALSE(off.shown("123 "));
    EXPECT_EQ(off.size(), 0u);

    BearingHistory h(5);
    for (const char* r : {"010 ", " - - -", "020.", "030 ", "xyz"}) {
        h.shown(r);
    }
    using Marks = std::vector<std::pair<double, long>>;
    EXPECT_EQ(marks(h), (Marks{{10, 60}, {20.5, 80}, {30, 100}}));
    for (const char* r : {"040 ", "050 ", "060 "}) {
        h.shown(r);
    }
    EXPECT_EQ(marks(h), (Marks{{20.5, 20}, {30, 40}, {40, 60}, {50, 80}, {60, 100}}));
    h.setLength(2);
    EXPECT_EQ(marks(h), (Marks{{50, 20}, {60, 100}}));
    h.clear();
    EXPECT_EQ(h.size(), 0u);
}

TEST(BearingLog, DecimalMinutesLabelsInDecimalDegrees) {
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"33\xB0 52.1234' S", -(33 + 52.1234 / 60)},
        {"151\xB0 12.3456' E", 151 + 12.3456 / 60},
        {"004\xB0 53.4000' W", -(4 + 53.4 / 60)},
        {"00\xB0 00.0000' N", 0.0},
        {"179\xB0 59.9999' N", 179 + 59.9999 / 60},
        {"  5\xB0  5.0070' W", -(5 + 5.007 / 60)},  // padded as sent
        {"5 \xB0 05.0070' S", std::nullopt},
        {"--\xB0  --.----'  -", std::nullopt},  // the placeholders
        {"---\xB0  --.----'  -", std::nullopt},
        {"33\xB0 52' 07.4\" S", std::nullopt},  // the seconds label
        {"33\xB0 52.1234' X", std::nullopt},
        {"33\xB0 52.123' S", std::nullopt},
        {"1234\xB0 52.1234' S", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [label, want] : cases) {
        const auto got = DecimalDegrees(label);
        ASSERT_EQ(got.has_value(), want.has_value()) << label;
        if (want) {
            EXPECT_NEAR(*got, *want, 1e-12) << label;
        }
    }
}

// The log between a station's procedures and a window.
struct LogRig {
    void show(El e, std::string_view text) { display.setText(e, text); }
    MemoryFile file;
    HandLocalClock clock;
    int signal = 42;
    std::vector<std::string> reports;
    BearingLog log{file, clock, [this] { return signal; },
                   [this](std::string_view m) { reports.emplace_back(m); }};
    FakeWindow window;
    BearingLogDisplay display{window, log};
};

TEST(BearingLog, RowsForBearingsShownOnly) {
    for (const std::string before : {"", "time,bearing\n"}) {
        LogRig r;
        r.file.content = before;
        // What the window shows before the log starts counts for its rows.
        r.show(El::Banner_RelBear, "REL");
        r.show(El::Banner_Ant_Band, "30,5-88 \"\xB5\"");  // Latin-1 in, UTF-8 out
        ASSERT_TRUE(r.log.start("bearings.csv"));
        r.show(El::DOA, " - - -");
        r.show(El::DOA, "123.");
        r.show(El::Banner_GPS_Decimal_Lat, "33\xB0 52.1234' S");
        r.show(El::Banner_GPS_Decimal_Lon, "151\xB0 12.3456' E");
        r.show(El::Banner_RelBear, "ABS");
        r.signal = 99;
        r.clock.t.second = 59;
        r.show(El::DOA, "005 ");
        r.show(El::Banner_GPS_Decimal_Lat, "--\xB0  --.----'  -");
        r.show(El::DOA, "359");
        EXPECT_EQ(
            r.file.content,
            (before.empty() ? std::string(BearingLog::kHeader) : before) +
                "2024-05-01 14:03:07.123,123.,REL,42,\"30,5-88 \"\"\xC2\xB5\"\"\",,\n"
                "2024-05-01 14:03:59.123,005,ABS,99,\"30,5-88 "
                "\"\"\xC2\xB5\"\"\",-33.868723,151.205760\n"
                "2024-05-01 14:03:59.123,359,ABS,99,\"30,5-88 \"\"\xC2\xB5\"\"\",,151.205760\n");
        r.display.bearingsStopped();
        EXPECT_EQ(r.window.log.size(), 11u) << "the window gets every call";
        EXPECT_EQ(r.window.log.back(), "bearings stopped");
        EXPECT_TRUE(r.reports.empty());
    }
}

// Unwritable or full: one message, no more writes, and the window goes on.
TEST(BearingLog, UnwritableOrFullFileIsReportedOnce) {
    const std::size_t header = BearingLog::kHeader.size(), row = 36;
    const std::tuple<bool, std::size_t, int> cases[] = {
        {true, SIZE_MAX, 0}, {false, 10, 1}, {false, header + 2 * row + 10, 4}};
    for (const auto& [refuse, capacity, writes] : cases) {
        LogRig r;
        r.file.refuseOpen = refuse;
        r.file.capacity = capacity;
        r.log.start("/media/stick/b.csv");
        for (int i = 0; i < 20; ++i) {
            r.show(El::DOA, std::to_string(100 + i) + " ");
        }
        EXPECT_EQ(r.window.text(El::DOA), "119 ");
        EXPECT_EQ(r.file.writes, writes) << capacity;
        ASSERT_EQ(r.reports.size(), 1u) << capacity;
        EXPECT_NE(r.reports[0].find("/media/stick/b.csv"), std::string::npos) << r.reports[0];
    }
}

// The system clock tells the calendar's date and time, taken in the same second.
TEST(SystemLocalClock, TellsTheLocalDateAndTime) {
    std::time_t second = 0;
    LocalTime t;
    for (int i = 0; i < 3 && (i == 0 || second != std::time(nullptr)); ++i) {
        second = std::time(nullptr);
        t = SystemLocalClock().now();
    }
    std::tm local{};
    ::localtime_r(&second, &local);
    char want[32];
    std::strftime(want, sizeof want, "%Y-%m-%d %H:%M:%S", &local);
    EXPECT_EQ(FormatLocalTime(t).substr(0, 19), want);
    EXPECT_TRUE(t.millisecond >= 0 && t.millisecond <= 999) << t.millisecond;
}

}  // namespace
}  // namespace kestrova::testing
