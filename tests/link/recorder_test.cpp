#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "output/LineRecorder.h"
#include "output/Recording.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"
#include "tests/fakes/MemoryFile.h"
#include "tests/fakes/NoStandardInput.h"

namespace kestrova::testing {
namespace {

using recording::Chunk;
using namespace std::string_literals;

// The line, the recorder between it and the receive buffer, and what the recorder reported.
struct RecorderRig {
    RecorderRig() { line.open(); }
    // Time runs on to `ms`, the write-out firing on the way; then a poll tick reads `bytes`.
    void arrive(long ms, const std::string& bytes) {
        clock.advance(ms - clock.now());
        line.incoming = bytes;
        recorded.readInput(rx);
    }
    FakeSerialLine line;
    MemoryFile file;
    FakeClock clock;
    std::vector<std::string> reports;
    FakeTimer& writeOut = clock.make(0, [this] { recorder.writeOut(); });
    LineRecorder recorder{file, clock, writeOut,
                          [this](std::string_view m) { reports.emplace_back(m); }};
    RecordingSerialLine recorded{line, recorder};
    std::string rx;
};

const std::vector<Chunk> kSession = {
    {0, "B20482048S42045P\r\n"},
    {3, "\0\0\r\n"s},
    {250, "\xFF\xFE\x80\x7F"},
    {260, "\n"},
    {4260, "AFM/S,IF 25,AIR\r\n"},       // after a pause
    {4262, std::string(70000, '\xB0')},  // more than waits in memory
    {4300, "\r"},
};

TEST(LineRecorder, RecordsEveryByteWithItsTimeAndPassesItOn) {
    RecorderRig r;
    r.arrive(4000, "");
    r.recorder.received("before the start");
    r.arrive(5000, "");
    ASSERT_TRUE(r.recorder.start("session.rec", "started 14:03:07.123"));
    std::string sent;
    for (const auto& c : kSession) {
        r.arrive(5000 + c.milliseconds, "");
        r.recorder.received("");
        r.arrive(5000 + c.milliseconds, c.bytes);
        sent += c.bytes;
    }
    r.recorder.finish();
    EXPECT_EQ(r.rx, sent) << "the receive buffer gets what the line gave";
    const auto got = recording::parse(r.file.content);
    EXPECT_TRUE(got.whole) << got.problem;
    EXPECT_EQ(got.note, "started 14:03:07.123");
    EXPECT_EQ(got.chunks, kSession);
}

// Every chunk is on file within the write-out time of its arrival, however the chunks come;
// at the line's full rate that takes a few writes a second, not one a read. 64 KiB go at once.
TEST(LineRecorder, WritesOutSoonAfterArrivalInFewWrites) {
    static_assert(LineRecorder::kWriteOutMs <= 250, "well inside the half second promised");
    const std::tuple<const char*, long, long, long> patterns[] = {
        // arrivals: every `gap` ms, `burst` in a row, then a pause of `pause` ms; for 3 s
        {"line rate", 10, 300, 0},  {"just slower than the write-out", 201, 1, 0},
        {"just faster", 199, 1, 0}, {"bursts", 10, 10, 900},
        {"lone chunks", 1, 1, 700},
    };
    for (const auto& [name, gap, burst, pause] : patterns) {
        RecorderRig r;
        r.recorder.start("x", "");
        std::vector<long> arrivals;
        for (long t = 1; t < 3000; t += gap) {
            arrivals.push_back(t);
            t += static_cast<long>(arrivals.size()) % burst == 0 ? pause : 0;
        }
        std::size_t next = 0;
        for (long t = 1; t < 3300; ++t) {
            const bool due = next < arrivals.size() && arrivals[next] == t;
            r.arrive(t, due ? "B" : "");
            next += due ? 1 : 0;
            const auto old = std::count_if(
                arrivals.begin(), arrivals.begin() + static_cast<std::ptrdiff_t>(next),
                [&](long a) { return a <= t - LineRecorder::kWriteOutMs; });
            ASSERT_GE(recording::parse(r.file.content).chunks.size(), static_cast<std::size_t>(old))
                << name << " at " << t;
        }
        EXPECT_EQ(recording::parse(r.file.content).chunks.size(), arrivals.size()) << name;
        EXPECT_LE(r.file.writes, 1 + 3300 / LineRecorder::kWriteOutMs + 1) << name;
    }
    RecorderRig big;
    big.recorder.start("x", "");
    big.arrive(1000, std::string(65527, 'x'));
    EXPECT_EQ(big.file.writes, 2);
}

// A file that cannot be written is reported once; the line goes on, and what reached the file
// reads back up to the last whole record.
TEST(LineRecorder, UnwritableOrFullFileIsReportedOnceAndTheLineGoesOn) {
    const std::size_t head = recording::header("n").size();
    const std::size_t two = recording::record(0, "B2\r\n").size() * 2 + 1;
    const std::tuple<bool, std::size_t, std::size_t> cases[] = {
        {true, SIZE_MAX, 0}, {false, 3, 0}, {false, head + two + 5, 2}};
    for (const auto& [refuse, capacity, kept] : cases) {
        RecorderRig r;
        r.file.refuseOpen = refuse;
        r.file.capacity = capacity;
        r.recorder.start("/media/stick/s.rec", "n");
        for (int i = 0; i < 400; ++i) {
            r.arrive(1000 + i * 10, "B2\r\n");
        }
        r.recorder.finish();
        EXPECT_EQ(r.rx.size(), 400u * 4);
        ASSERT_EQ(r.reports.size(), 1u) << capacity;
        EXPECT_NE(r.reports[0].find("/media/stick/s.rec: No space left"), std::string::npos);
        EXPECT_EQ(recording::parse(r.file.content).chunks.size(), kept) << capacity;
    }
}

// The same on real files: a folder that does not exist, and a folder.
TEST(LineRecorder, RealFiles) {
    const std::string dir = ::testing::TempDir() + "recorder_real";
    std::filesystem::create_directories(dir);
    const std::pair<std::string, const char*> cases[] = {
        {dir + "/ok.rec", ""}, {dir + "/missing/x.rec", "No such file"}, {dir, "Is a directory"}};
    for (const auto& [path, reason] : cases) {
        PosixOutputFile file;
        FakeClock clock;
        std::string reports;
        LineRecorder rec(file, clock, clock.make(0), [&](std::string_view m) { reports += m; });
        rec.start(path, "note");
        rec.received("B\0\n"s);
        rec.finish();
        EXPECT_NE(reports.find(reason), std::string::npos) << path << ": " << reports;
        EXPECT_EQ(reports.empty(), *reason == '\0') << path;
    }
    // Started without a standard input, the file gets descriptor 0 and is written all the same.
    EXPECT_TRUE(withoutStandardInput([&dir] {
        PosixOutputFile zero;
        std::uint64_t existing = 0;
        return zero.open(dir + "/zero.rec", false, existing) && zero.write("x");
    }));
    std::ifstream in(dir + "/ok.rec", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "KESTROVA-REC 1 note\n0 3\nB\0\n\n"s);
}

}  // namespace
}  // namespace kestrova::testing
