// The output options switch on their outputs.
#include <gtest/gtest.h>

#include <tuple>

#include "output/OperatorTools.h"
#include "output/Recording.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"
#include "tests/fakes/MemoryFile.h"

namespace kestrova::testing {
namespace {

// What is switched on is written; whatever happens to the files, the receive buffer gets
// everything.
TEST(OperatorTools, OptionsSwitchOnTheirOutputsOnly) {
    const std::tuple<OperatorOptions, bool, std::size_t, long, std::size_t> cases[] = {
        // options, files refuse to open, chunks recorded, log lines, reports
        {{}, false, 0, 0, 0},
        {{"s.rec", ""}, false, 5, 0, 0},
        {{"", "b.csv"}, false, 0, 6, 0},
        {{"s.rec", "./s.rec"}, false, 5, 0, 1},  // one file for both
        {{"s.rec", "b.csv"}, true, 0, 0, 2},
    };
    for (const auto& [options, refuse, chunks, lines, reports] : cases) {
        FakeSerialLine serial;
        MemoryFile recordFile, logFile;
        FakeClock clock;
        HandLocalClock local;
        const Clocks clocks{clock, local};
        std::size_t reported = 0;
        OperatorTools tools(
            serial, clock.make(0), [&](std::string_view) { ++reported; }, recordFile, logFile,
            clocks);
        serial.open();
        recordFile.refuseOpen = logFile.refuseOpen = refuse;
        tools.begin(options);
        std::string rx;
        for (int i = 0; i < 5; ++i) {
            serial.incoming = "B20482048S42045P\r\n";
            tools.line().readInput(rx);
            BearingShown b;
            b.tenths = static_cast<std::int16_t>(1005 + i * 10);
            tools.bearingLog().bearingShown(b);
        }
        tools.end();
        EXPECT_EQ(rx.size(), 5u * 18);
        if (options == OperatorOptions{}) {
            EXPECT_EQ(recordFile.opens + logFile.opens, 0) << "off: no file touched";
        }
        EXPECT_EQ(recording::parse(recordFile.content).chunks.size(), chunks);
        EXPECT_EQ(std::count(logFile.content.begin(), logFile.content.end(), '\n'), lines);
        EXPECT_EQ(reported, reports);
    }
}

}  // namespace
}  // namespace kestrova::testing
