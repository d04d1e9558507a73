// Records a simulated session the way the display does, replays the recording through the
// simulator, and records that again: the same bytes, with the same timing.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/OutputFile.h"
#include "core/Recording.h"
#include "link/LineRecorder.h"

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Runs the simulator and records what its terminal delivers, polled every 2 ms as the
// display polls, until the simulator ends. Returns its summary line.
std::string recordSession(const std::string& args, const std::string& recording) {
    const fs::path sim = fs::read_symlink("/proc/self/exe").parent_path() / "kestrova-sim";
    FILE* out = ::popen(("timeout 40 " + sim.string() + " " + args).c_str(), "r");
    char text[1024] = {};
    if (out == nullptr || std::fgets(text, sizeof text, out) == nullptr) {
        ADD_FAILURE() << "cannot start " << sim;
        return "";
    }
    const std::string terminal(text, std::strcspn(text, "\n"));
    const int fd = ::open(terminal.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    EXPECT_GE(fd, 0) << terminal;
    PosixOutputFile file;
    SteadyClock clock;
    LineRecorder recorder(file, clock, [](std::string_view m) { ADD_FAILURE() << m; });
    EXPECT_TRUE(recorder.start(recording, "test"));
    char buf[4096];
    for (pollfd p{::fileno(out), POLLIN, 0}; ::poll(&p, 1, 2) >= 0 && p.revents == 0;) {
        for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) {
            recorder.received(std::string_view(buf, static_cast<std::size_t>(n)));
        }
        recorder.tick();
    }
    recorder.finish();
    ::close(fd);
    std::string summary;
    while (std::fgets(text, sizeof text, out) != nullptr) {
        summary = text;
    }
    ::pclose(out);
    return summary;
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
    std::printf("%zu bytes replayed, worst timing difference %lld ms\n", live.bytes.size(),
                static_cast<long long>(worst));
}

}  // namespace
}  // namespace kestrova::testing
