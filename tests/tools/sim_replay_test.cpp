#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/Recording.h"
#include "tools/sim/Pacing.h"
#include "tools/sim/Stream.h"

namespace kestrova::sim {
namespace {

std::vector<Piece> drain(Source& s) {
    std::vector<Piece> out;
    for (Piece p; s.next(p);) {
        out.push_back(p);
    }
    return out;
}

// Each chunk starts when its first byte was on the line: its read time less its line time,
// counted from the first chunk's start. Pauses come back; a backlog read in one go falls due
// before the line is free and follows at line pace.
TEST(SimReplay, RecordingPlaysWithItsOwnTiming) {
    const double b18 = lineSeconds(18);
    const std::tuple<std::int64_t, std::size_t, double> rows[] = {
        {5000, 18, 0},
        {5010, 18, 0.010},
        {8520, 36, 3.520 - lineSeconds(36) + b18},      // after a pause
        {8521, 2000, 3.521 - lineSeconds(2000) + b18},  // a backlog
    };
    std::string file = recording::header("");
    for (const auto& [ms, length, start] : rows) {
        file += recording::record(ms, std::string(length, 'x'));
    }
    const Replay replay = loadReplay(file);
    ASSERT_TRUE(replay.timed);
    const auto pieces = drain(*replay.source);
    ASSERT_EQ(pieces.size(), std::size(rows));
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_NEAR(pieces[i].startAt, std::get<2>(rows[i]), 1e-9) << i;
        EXPECT_EQ(pieces[i].bytes.size(), std::get<1>(rows[i])) << i;
    }
    EXPECT_NEAR(replay.length, 3.520 + b18 + lineSeconds(2000), 1e-9);
}

// A raw capture goes out at line pace; a recording cut off or damaged plays what is there
// and says where it stopped.
TEST(SimReplay, CapturesAndCutRecordings) {
    const std::string whole = recording::header("x") + recording::record(0, "B1\r\n") +
                              recording::record(1500, "B2\r\n") +
                              recording::record(2250, "A3,4\r\n");
    const std::string sent = "B1\r\nB2\r\nA3,4\r\n";
    const std::string raw = "B20482048S42045P\r\nKESTROVA-REC 1\n";
    const std::tuple<std::string, std::string, const char*> cases[] = {
        {whole, sent, ""},
        {raw, raw, ""},
        {whole.substr(0, whole.size() - 3), sent.substr(0, 12),
         "cut off in a record's bytes at byte 38 (record 3, 2.250 s into the recording)"},
        {whole.substr(0, 40), sent.substr(0, 8),
         "cut off in a record's head at byte 38 (record 3, 1.500 s into the recording)"},
        {whole.substr(0, 16), "",
         "cut off in the header line at byte 16 (record 1, 0.000 s into the recording)"},
    };
    for (const auto& [file, bytes, warning] : cases) {
        const Replay replay = loadReplay(file);
        EXPECT_EQ(replay.timed, file != raw);
        std::string got;
        for (const auto& p : drain(*replay.source)) {
            got += p.bytes;
        }
        EXPECT_EQ(got, bytes) << file.size();
        EXPECT_EQ(replay.warning, warning) << file.size();
    }
}

}  // namespace
}  // namespace kestrova::sim
