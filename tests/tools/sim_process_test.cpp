// Runs the real kestrova-sim against small responders on its pseudo-terminal.
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

std::string simPath() {
    if (const char* env = std::getenv("KESTROVA_SIM")) {
        return env;
    }
    char self[PATH_MAX] = {};
    const ssize_t n = ::readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir(self, n > 0 ? static_cast<std::size_t>(n) : 0);
    return dir.substr(0, dir.rfind('/') + 1) + "kestrova-sim";
}

enum class Answers { Proper, Silent, AckEverything };

struct Result {
    int exitCode = -1;
    std::string firstLine;
    std::string summary;
    bool linkSeen = false;
};

// Starts the simulator, opens its terminal and plays a display: NUL every 500 ms and CR LF
// for each status and antenna line (or nothing at all), until the simulator exits.
Result runAgainst(std::vector<std::string> args, Answers answers, const std::string& link = "") {
    Result res;
    int out[2];
    if (::pipe(out) != 0) {
        ADD_FAILURE() << "pipe";
        return res;
    }
    posix_spawn_file_actions_t fa;
    posix_spawn_file_actions_init(&fa);
    posix_spawn_file_actions_adddup2(&fa, out[1], 1);
    posix_spawn_file_actions_addclose(&fa, out[0]);
    const std::string exe = simPath();
    args.insert(args.begin(), exe);
    std::vector<char*> argv;
    for (auto& a : args) {
        argv.push_back(a.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, exe.c_str(), &fa, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&fa);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        ADD_FAILURE() << "cannot start " << exe << " (build the kestrova-sim target)";
        return res;
    }

    std::string stdoutText;
    int fd = -1;
    std::string rx;
    auto nextNul = Clock::now();
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    bool outOpen = true;
    while (outOpen && Clock::now() < deadline) {
        pollfd p[2] = {{out[0], POLLIN, 0}, {fd, POLLIN, 0}};
        ::poll(p, fd >= 0 ? 2 : 1, 5);
        if (p[0].revents & (POLLIN | POLLHUP)) {
            char buf[512];
            const ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n <= 0) {
                outOpen = false;
            } else {
                stdoutText.append(buf, static_cast<std::size_t>(n));
            }
        }
        const auto nl = stdoutText.find('\n');
        if (fd == -1 && nl != std::string::npos) {
            res.firstLine = stdoutText.substr(0, nl);
            fd = ::open(res.firstLine.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
            if (fd < 0) {
                ADD_FAILURE() << "cannot open " << res.firstLine;
                fd = -2;
            }
            nextNul = Clock::now() + std::chrono::milliseconds(500);
            if (!link.empty()) {
                char target[PATH_MAX] = {};
                const ssize_t k = ::readlink(link.c_str(), target, sizeof target - 1);
                res.linkSeen =
                    k > 0 && res.firstLine == std::string(target, static_cast<std::size_t>(k));
            }
        }
        if (fd < 0) {
            continue;
        }
        if (p[1].revents & POLLIN) {
            char buf[1024];
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n > 0) {
                rx.append(buf, static_cast<std::size_t>(n));
            }
        }
        std::string reply;
        for (auto lf = rx.find('\n'); lf != std::string::npos; lf = rx.find('\n')) {
            if (answers != Answers::Silent && (rx[0] == 'A' || rx[0] == 'C')) {
                reply += "\r\n";
            }
            rx.erase(0, lf + 1);
        }
        if (answers != Answers::Silent && Clock::now() >= nextNul) {
            reply.push_back('\0');
            nextNul += std::chrono::milliseconds(500);
        }
        if (!reply.empty() && ::write(fd, reply.data(), reply.size()) < 0) {
            ::close(fd);  // the simulator has closed its end: wait for it to exit
            fd = -2;
        }
    }
    if (fd >= 0) {
        ::close(fd);
    }
    ::close(out[0]);
    int status = 0;
    if (outOpen) {
        ::kill(pid, SIGKILL);
        ADD_FAILURE() << "kestrova-sim did not stop by itself";
    }
    ::waitpid(pid, &status, 0);
    res.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    const auto last = stdoutText.rfind('\n', stdoutText.size() - 2);
    res.summary = last == std::string::npos ? "" : stdoutText.substr(last + 1);
    return res;
}

std::string writeFile(const std::string& name, const std::string& content) {
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << content;
    return path;
}

TEST(SimProcess, AnsweringDisplayPasses) {
    // Only lines that draw CR LF, so that the responder's blanket CR LF is right.
    const std::string scenario = writeFile("sim_ok.scn",
                                           "pauses off\n"
                                           "cycle FM/S,IF 25,AIR,LCL,HIGH,01,HNT,BRT,REL\n"
                                           "cycle FM/S,IF 25,GND,LCL,HIGH,02,RCV,BAT,REL\n"
                                           "status-every 0.4\n");
    const std::string link = ::testing::TempDir() + "sim_ok_link";
    const Result r = runAgainst({"--scenario", scenario, "--duration", "2.5", "--link", link},
                                Answers::Proper, link);
    EXPECT_EQ(r.firstLine.rfind("/dev/pts/", 0), 0u) << r.firstLine;
    EXPECT_TRUE(r.linkSeen);
    struct stat st {};
    EXPECT_NE(::lstat(link.c_str(), &st), 0) << "link left behind";
    EXPECT_EQ(r.exitCode, 0) << r.summary;
    EXPECT_NE(r.summary.find("; OK"), std::string::npos) << r.summary;
    EXPECT_EQ(r.summary.find(" 0 ack"), std::string::npos) << r.summary;
}

TEST(SimProcess, SilentDisplayFails) {
    const Result r = runAgainst({"--duration", "2", "--no-pauses"}, Answers::Silent);
    EXPECT_EQ(r.exitCode, 1) << r.summary;
    EXPECT_NE(r.summary.find("MISMATCH"), std::string::npos) << r.summary;
    EXPECT_NE(r.summary.find("0 nul in"), std::string::npos) << r.summary;
}

TEST(SimProcess, ReplayedRejectionAnsweredWithAckFails) {
    // A capture: padding, a status line with an unknown mode token, more padding.
    std::string capture;
    for (int i = 0; i < 80; ++i) {
        capture += "B30682048S42045P\r\n";
    }
    capture += "AFM/S,IF 25,AIR,LCL,HIGH,02,SCN,BRT,REL\r\n";
    for (int i = 0; i < 60; ++i) {
        capture += "B30682048S42045P\r\n";
    }
    const std::string path = writeFile("sim_reject.cap", capture);
    const Result r = runAgainst({"--replay", path, "--duration", "2.5"}, Answers::AckEverything);
    EXPECT_EQ(r.exitCode, 1) << r.summary;
    EXPECT_NE(r.summary.find("1 ack, expected 0..0"), std::string::npos) << r.summary;
    EXPECT_NE(r.summary.find("0 rej, expected 1..1"), std::string::npos) << r.summary;
}

}  // namespace
