// The bearing history and the bearing log.
#include <gtest/gtest.h>

#include <cmath>
#include <ctime>

#include "display/BearingHistory.h"
#include "output/BearingLog.h"
#include "tests/fakes/MemoryFile.h"

namespace kestrova::testing {
namespace {

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
    one.add(123);
    EXPECT_EQ(one.mark(0).strength, 1.0);
    BearingHistory off;
    EXPECT_FALSE(off.add(123));
    EXPECT_EQ(off.size(), 0u);

    BearingHistory h(5);
    for (const double d : {10.0, 20.5, 30.0}) {
        EXPECT_TRUE(h.add(d));
    }
    using Marks = std::vector<std::pair<double, long>>;
    EXPECT_EQ(marks(h), (Marks{{10, 60}, {20.5, 80}, {30, 100}}));
    for (const double d : {40.0, 50.0, 60.0}) {
        h.add(d);
    }
    EXPECT_EQ(marks(h), (Marks{{20.5, 20}, {30, 40}, {40, 60}, {50, 80}, {60, 100}}));
    h.setLength(2);
    EXPECT_EQ(marks(h), (Marks{{50, 20}, {60, 100}}));
    h.clear();
    EXPECT_EQ(h.size(), 0u);
}

// A bearing shown at 14:03:07.123 with the given tenths, signal and position.
BearingShown shown(std::int16_t tenths, bool absolute, std::int16_t signal,
                   std::optional<GeoPosition> position = {}) {
    BearingShown b;
    b.time.local = {2024, 5, 1, 14, 3, 7, 123};
    b.tenths = tenths;
    b.absolute = absolute;
    b.signal = signal;
    b.band = "30,5-88 \"\xB5\"";  // Latin-1 in, UTF-8 out
    b.position = position;
    return b;
}

// Each start writes the header, also after an older log's rows; the true bearing is the one
// asked for as the row is written, in tenths that wrap at 360, and empty when there is none.
TEST(BearingLog, RowsForBearingsShown) {
    for (const std::string before : {"", "time,bearing\n1,2\n"}) {
        MemoryFile file;
        file.content = before;
        std::vector<std::string> reports;
        BearingLog log(file, [&](std::string_view m) { reports.emplace_back(m); });
        log.bearingShown(shown(1234, false, 42));  // before the start: no row
        ASSERT_TRUE(log.start("bearings.csv"));
        log.bearingShown(shown(1234, false, 42));
        std::vector<std::optional<double>> made{std::nan(""), 359.96, -0.06, 4.95, {}};
        log.setTrueBearing([&made] {
            const std::optional<double> t = made.back();
            made.pop_back();
            return t;
        });
        log.bearingShown(shown(52, true, 99, GeoPosition{-33.86872333, 151.20576}));
        log.bearingShown(shown(3599, true, 25, GeoPosition{0, -0.0000001}));
        for (int i = 0; i < 3; ++i) {
            log.bearingShown(shown(3599, true, 25));
        }
        const std::string band = ",\"30,5-88 \"\"\xC2\xB5\"\"\",";
        const std::string abs = "2024-05-01 14:03:07.123,359,ABS,25" + band + ",,";
        EXPECT_EQ(file.content,
                  before + std::string(BearingLog::kHeader) +
                      "2024-05-01 14:03:07.123,123.,REL,42" + band + ",,\n" +
                      "2024-05-01 14:03:07.123,005,ABS,99" + band + "-33.868723,151.205760,\n" +
                      "2024-05-01 14:03:07.123,359,ABS,25" + band + "0.000000,-0.000000,5.0\n" +
                      abs + "359.9\n" + abs + "0.0\n" + abs + "\n");
        EXPECT_TRUE(reports.empty());
    }
}

// A field is quoted only where a comma, a quote or a line break would end it; Latin-1 from
// 0x80 up becomes UTF-8.
TEST(BearingLog, FieldsQuotedOnlyWhereNeeded) {
    const std::pair<const char*, const char*> cases[] = {
        {"30-88 MHz", "30-88 MHz"}, {"a,b", "\"a,b\""},   {"\"", "\"\"\"\""},
        {"a\rb", "\"a\rb\""},       {"a\nb", "\"a\nb\""}, {"\x80", "\xC2\x80"},
    };
    for (const auto& [latin1, csv] : cases) {
        EXPECT_EQ(CsvField(latin1), csv) << latin1;
    }
}

// Unwritable or full: one message, no more writes.
TEST(BearingLog, UnwritableOrFullFileIsReportedOnce) {
    const std::size_t header = BearingLog::kHeader.size(), row = 54;
    const std::tuple<bool, std::size_t, int> cases[] = {
        {true, SIZE_MAX, 0}, {false, 10, 1}, {false, header + 2 * row + 10, 4}};
    for (const auto& [refuse, capacity, writes] : cases) {
        MemoryFile file;
        file.refuseOpen = refuse;
        file.capacity = capacity;
        std::vector<std::string> reports;
        BearingLog log(file, [&](std::string_view m) { reports.emplace_back(m); });
        log.start("/media/stick/b.csv");
        for (int i = 0; i < 20; ++i) {
            log.bearingShown(shown(static_cast<std::int16_t>(1000 + i * 10), true, 50));
        }
        EXPECT_EQ(file.writes, writes) << capacity;
        ASSERT_EQ(reports.size(), 1u) << capacity;
        EXPECT_NE(reports[0].find("/media/stick/b.csv"), std::string::npos) << reports[0];
    }
}

}  // namespace
}  // namespace kestrova::testing
