// Recorded input against golden logs. Each recording in tests/golden/ arrives at the station
// at its own times, on the fake clock, polled by the 2 ms timer and by virtual ticks; what
// the window was told (texts, pictures, the needle, the meters), the replies and what the
// listeners heard, each with its moment, must be the .log beside it in both. Set
// KESTROVA_GOLDEN=update to write the logs instead, and read the difference before keeping it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "output/Recording.h"
#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

const std::filesystem::path kGolden = KESTROVA_SOURCE_DIR "/tests/golden";

std::string readAll(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The log, a line an entry, bytes a reader would not see as \xHH.
std::string logOf(const recording::Contents& input, Poll how) {
    StationRig r(how);
    r.timed();
    r.window.readings = true;
    r.st.dataFolder = "/prog";
    for (const recording::Chunk& c : input.chunks) {
        r.arriveAt(static_cast<long>(c.milliseconds), c.bytes);
    }
    r.start();
    r.clock.advance((input.chunks.back().milliseconds + 8000) | 1);
    std::string out;
    for (const std::string& entry : r.window.log) {
        for (const char c : entry) {
            const auto u = static_cast<unsigned char>(c);
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += u >= 32 && u < 127 && c != '\\' ? std::string(1, c) : hex;
        }
        out += '\n';
    }
    return out;
}

TEST(Golden, RecordingsGiveTheirLogsOnBothPolls) {
    const bool update = std::getenv("KESTROVA_GOLDEN") != nullptr;
    int played = 0;
    for (const auto& file : std::filesystem::directory_iterator(kGolden)) {
        if (file.path().extension() != ".rec") {
            continue;
        }
        SCOPED_TRACE(file.path().filename().string());
        const recording::Contents input = recording::parse(readAll(file.path()));
        ASSERT_TRUE(input.whole && !input.chunks.empty()) << input.problem;
        const std::string log = logOf(input, Poll::VirtualTicks);
        auto golden = file.path();
        golden.replace_extension(".log");
        if (update) {
            std::ofstream(golden, std::ios::binary) << log;
        }
        EXPECT_EQ(log, readAll(golden));
        EXPECT_EQ(logOf(input, Poll::Timer4), log);
        ++played;
    }
    EXPECT_GE(played, 2);
}

}  // namespace
}  // namespace kestrova::testing
