#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "output/LineRecorder.h"
#include "output/Recording.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/MemoryFile.h"
#include "tests/fakes/NoStandardInput.h"

namespace kestrova::testing {
namespace {

using recording::Chunk;
using namespace std::string_literals;

// The line, the recorder between it and the receive buffer, and what the recorder reported.
struct RecorderRig {
    RecorderRig() { line.open(); }
    // One poll tick at `ms`, reading `bytes`.
    void arrive(std::int64_t ms, const std::string& bytes) {
        clock.ms = ms;
        line.incoming = bytes;
        recorded.readInput(rx);
    }
    FakeSerialLine line;
    MemoryFile file;
    HandClock clock;
    std::vector<std::string> reports;
    LineRecorder recorder{file, clock, [this](std::string_view m) { reports.emplace_back(m); }};
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
    r.clock.ms = 5000;
    r.recorder.received("before the start");
    ASSERT_TRUE(r.recorder.start("session.rec", "started 14:03:07.123"));
    std::string sent;
    for (const auto& c : kSession) {
        r.arrive(5000 + c.milliseconds - 1, "");
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

// On file once the oldest waiting chunk is half a second old, never while idle, the rest at
// the end.
TEST(LineRecorder, WritesOutWithinHalfASecond) {
    RecorderRig r;
    r.clock.ms = 0;
    r.recorder.start("x", "");
    const std::tuple<std::int64_t, bool, std::size_t> steps[] = {
        {10, true, 0},   {400, true, 0},  {509, false, 0},  {510, false, 2}, {5000, false, 2},
        {6000, true, 2}, {6499, true, 2}, {6500, false, 4}, {6600, true, 4}};
    for (const auto& [ms, data, onFile] : steps) {
        r.arrive(ms, data ? "B" : "");
        EXPECT_EQ(recording::parse(r.file.content).chunks.size(), onFile) << ms;
    }
    EXPECT_EQ(r.file.writes, 3) << "the header and two write-outs";
    r.recorder.finish();
    EXPECT_EQ(recording::parse(r.file.content).chunks.size(), 5u);
    RecorderRig big;  // a record of 64 KiB goes out at once
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
        HandClock clock;
        std::string reports;
        LineRecorder rec(file, clock, [&](std::string_view m) { reports += m; });
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

TEST(RecordingFormat, DamageStopsTheReading) {
    // Only the header line makes a file a recording.
    for (const std::string raw : {"B20482048S4204", "B20482048S4204 5P\r\n", "KESTROVA-REC 12\n"}) {
        EXPECT_FALSE(recording::isRecording(raw)) << raw;
    }
    EXPECT_TRUE(recording::isRecording("KESTROVA-REC 1"));
    const std::string h = "KESTROVA-REC 1\n12 3\nabc\n";
    EXPECT_TRUE(recording::parse(h + "9223372036854775807 1\nd\n").whole);
    for (const std::string bad :
         {"x3 1\nd\n", "11 1\nd\n", "13 1\ndd\n", "13\nd\n", "9223372036854775808 1\nd\n"}) {
        const auto got = recording::parse(h + bad);
        EXPECT_FALSE(got.whole) << bad;
        EXPECT_EQ(got.chunks.size(), 1u) << bad;
        EXPECT_EQ(got.record, 2u) << bad;
        EXPECT_EQ(got.stoppedAt, h.size()) << bad;
    }
}

}  // namespace
}  // namespace kestrova::testing
