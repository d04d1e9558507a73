// Runs the real kestrova-sim and plays a display on its pseudo-terminal: what it judges, and a
// recorded session replayed to the same bytes with the same timing. These take seconds, so
// they live in their own program, apart from the fast unit tests.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "output/LineRecorder.h"
#include "output/OutputFile.h"
#include "output/Recording.h"

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Starts the simulator (stopped after 40 s), opens its terminal and, every 2 ms until the
// simulator ends, hands what arrived to `display`, which returns what to answer. Returns the
// exit status and the simulator's last line.
std::pair<int, std::string> session(const std::string& args,
                                    const std::function<std::string(std::string_view)>& display) {
    const fs::path sim = fs::read_symlink("/proc/self/exe").parent_path() / "kestrova-sim";
    FILE* out = ::popen(("timeout 40 " + sim.string() + " " + args).c_str(), "r");
    char text[4096] = {};
    if (out == nullptr || std::fgets(text, sizeof text, out) == nullptr) {
        ADD_FAILURE() << "cannot start " << sim << " (build the kestrova-sim target)";
        return {-1, ""};
    }
    const std::string terminal(text, std::strcspn(text, "\n"));
    const int fd = ::open(terminal.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    EXPECT_GE(fd, 0) << terminal;
    for (pollfd p{::fileno(out), POLLIN, 0}; ::poll(&p, 1, 2) >= 0 && p.revents == 0;) {
        const ssize_t n = ::read(fd, text, sizeof text);
        const std::string reply =
            display(std::string_view(text, n > 0 ? static_cast<std::size_t>(n) : 0));
        if (!reply.empty() && ::write(fd, reply.data(), reply.size()) < 0) {
            ADD_FAILURE() << "cannot answer on " << terminal;
        }
    }
    ::close(fd);
    std::string summary;
    while (std::fgets(text, sizeof text, out) != nullptr) {
        summary = text;
    }
    const int status = ::pclose(out);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, summary};
}

// A display that never answers fails the simulator's judgement (the end-to-end tests show an
// answering one passing).
TEST(SimProcess, ASilentDisplayFails) {
    const std::string capture = ::testing::TempDir() + "sim_silent.cap";
    std::ofstream out(capture, std::ios::binary);
    std::fill_n(std::ostream_iterator<const char*>(out), 40,
                "AFM/S,IF 25,AIR,LCL,HIGH,01,HNT,BRT\r\n");
    out.close();
    const auto silent =
        session("--replay " + capture, [](std::string_view) { return std::string(); });
    EXPECT_EQ(silent.first, 1) << silent.second;
    EXPECT_NE(silent.second.find("MISMATCH: 0 nul in"), std::string::npos) << silent.second;
    EXPECT_NE(silent.second.find("; 0 ack, expected "), std::string::npos) << silent.second;
}

// A write-out timer that is never due: everything is written out at the end.
struct NeverDue : WakeTimer {
    void wakeIn(long) override {}
    void stop() override {}
};

// Records what the terminal delivers as the display does, polled every 2 ms.
std::string recordSession(const std::string& args, const std::string& recording) {
    PosixOutputFile file;
    SteadyClock clock;
    NeverDue writeOut;
    LineRecorder recorder(file, clock, writeOut, [](std::string_view m) { ADD_FAILURE() << m; });
    EXPECT_TRUE(recorder.start(recording, "test"));
    const auto summary = session(args, [&](std::string_view in) {
        recorder.received(in);
        return std::string();
    });
    recorder.finish();
    return summary.second;
}

struct Timeline {
    std::string bytes;
    std::vector<std::int64_t> at;  // arrival of each byte, ms after the first
    std::int64_t longestGap = 0;
};

Timeline timeline(const std::string& path) {
    const auto c = recording::parse(readFile(path));
    EXPECT_TRUE(c.whole) << path << ": " << c.problem;
    Timeline t;
    for (std::size_t i = 0; i < c.chunks.size(); ++i) {
        const auto& k = c.chunks[i];
        t.bytes += k.bytes;
        t.at.insert(t.at.end(), k.bytes.size(), k.milliseconds - c.chunks[0].milliseconds);
        if (i > 0) {
            t.longestGap = std::max(t.longestGap, k.milliseconds - c.chunks[i - 1].milliseconds);
        }
    }
    return t;
}

// A recorded session replays through the simulator to the same bytes with the same timing.
TEST(SimRecordReplay, ARecordedSessionReplaysToTheSameBytesAndTiming) {
    const std::string dir = ::testing::TempDir() + "record_replay/";
    fs::create_directories(dir);
    std::ofstream(dir + "pause.scn") << "pauses off\nat 1.5 pause 1.2\n";
    recordSession(
        "--scenario " + dir + "pause.scn --duration 4 --seed 5 --record " + dir + "live.cap",
        dir + "live.rec");
    const Timeline live = timeline(dir + "live.rec");
    const std::string sent = readFile(dir + "live.cap");
    ASSERT_GT(live.bytes.size(), sent.size() * 9 / 10) << "the display missed the start";
    ASSERT_TRUE(sent.ends_with(live.bytes)) << "the recording holds what the line carried";
    ASSERT_GE(live.longestGap, 1150) << "the pause";

    const std::string summary = recordSession(
        "--replay " + dir + "live.rec --record " + dir + "replay.cap", dir + "replay.rec");
    EXPECT_NE(summary.find("sent: "), std::string::npos) << summary;
    const Timeline replay = timeline(dir + "replay.rec");
    EXPECT_EQ(readFile(dir + "replay.cap"), live.bytes) << "what the simulator sent";
    ASSERT_EQ(replay.bytes, live.bytes) << "what the display received";
    std::int64_t worst = 0;
    for (std::size_t i = 0; i < live.at.size(); ++i) {
        worst = std::max(worst, std::abs(replay.at[i] - live.at[i]));
    }
    EXPECT_LE(worst, 50) << "ms between a byte's time in the recording and in the replay";
    EXPECT_GE(replay.longestGap, 1150) << "the pause comes back";
}

}  // namespace
}  // namespace kestrova::testing
