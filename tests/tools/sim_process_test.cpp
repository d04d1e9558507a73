// Runs the real kestrova-sim against a small display on its pseudo-terminal.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Starts the simulator (stopped after 20 s) and plays a display on its terminal until the
// simulator prints its summary: a NUL every 500 ms and CR LF for each status and antenna line,
// or nothing at all. Returns the exit status and the summary line.
std::pair<int, std::string> run(const std::string& args, bool answer, const std::string& link) {
    const fs::path sim = fs::read_symlink("/proc/self/exe").parent_path() / "kestrova-sim";
    FILE* out = ::popen(("timeout 20 " + sim.string() + " " + args).c_str(), "r");
    char line[1024] = {};
    if (out == nullptr || std::fgets(line, sizeof line, out) == nullptr) {
        ADD_FAILURE() << "cannot start " << sim << " (build the kestrova-sim target)";
        return {-1, ""};
    }
    const std::string terminal(line, std::strcspn(line, "\n"));
    EXPECT_TRUE(terminal.starts_with("/dev/pts/")) << terminal;
    EXPECT_TRUE(link.empty() || (fs::is_symlink(link) && fs::read_symlink(link) == terminal));
    const int fd = ::open(terminal.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    std::string rx, reply;
    auto nextNul = std::chrono::steady_clock::now() + 500ms;
    for (pollfd p[2] = {{::fileno(out), POLLIN, 0}, {fd, POLLIN, 0}};
         ::poll(p, 2, 5) >= 0 && p[0].revents == 0;) {
        char buf[1024];
        const ssize_t n = (p[1].revents & POLLIN) ? ::read(fd, buf, sizeof buf) : 0;
        rx.append(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
        for (auto lf = rx.find('\n'); lf != std::string::npos; lf = rx.find('\n')) {
            reply += answer && (rx[0] == 'A' || rx[0] == 'C') ? "\r\n" : "";
            rx.erase(0, lf + 1);
        }
        if (answer && std::chrono::steady_clock::now() >= nextNul) {
            reply.push_back('\0');
            nextNul += 500ms;
        }
        if (!reply.empty() && ::write(fd, reply.data(), reply.size()) >= 0) {
            reply.clear();
        }
    }
    ::close(fd);
    std::string summary;
    while (std::fgets(line, sizeof line, out) != nullptr) {
        summary = line;
    }
    const int status = ::pclose(out);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, summary};
}

TEST(SimProcess, AnsweringDisplayPasses) {
    // Only lines that draw CR LF, so that the display's blanket CR LF is right.
    const std::string scenario = ::testing::TempDir() + "sim_ok.scn";
    std::ofstream(scenario) << "pauses off\nstatus-every 0.4\n"
                               "cycle FM/S,IF 25,AIR,LCL,HIGH,01,HNT,BRT,REL\n"
                               "cycle FM/S,IF 25,GND,LCL,HIGH,02,RCV,BAT,REL\n";
    const std::string link = ::testing::TempDir() + "sim_ok_link";
    const auto [exitCode, summary] =
        run("--scenario " + scenario + " --duration 2.5 --link " + link, true, link);
    EXPECT_FALSE(fs::is_symlink(link)) << "link left behind";
    EXPECT_EQ(exitCode, 0) << summary;
    EXPECT_NE(summary.find("; OK"), std::string::npos) << summary;
    EXPECT_EQ(summary.find(" 0 ack"), std::string::npos) << summary;
}

TEST(SimProcess, SilentDisplayFails) {
    // A capture of status lines that all draw CR LF, played to a display that answers nothing.
    const std::string capture = ::testing::TempDir() + "sim_silent.cap";
    std::ofstream file(capture, std::ios::binary);
    std::fill_n(std::ostream_iterator<const char*>(file), 40,
                "AFM/S,IF 25,AIR,LCL,HIGH,01,HNT,BRT\r\n");
    file.close();
    const auto [exitCode, summary] = run("--replay " + capture, false, "");
    EXPECT_EQ(exitCode, 1) << summary;
    EXPECT_NE(summary.find("MISMATCH: 0 nul in"), std::string::npos) << summary;
    EXPECT_NE(summary.find("; 0 ack, expected "), std::string::npos) << summary;
}

}  // namespace
