// Port recovery, and what it asks of the device behind a name.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "link/DeviceState.h"
#include "link/PortRecovery.h"
#include "tests/fakes/Pty.h"
#include "tests/fakes/StationRig.h"

namespace kestrova::testing {
namespace {

namespace fs = std::filesystem;

// The names an operator may give: what the system says of each, looked at without opening.
TEST(DeviceState, InspectsNamesWithoutOpeningThem) {
    Pty pty;
    ASSERT_FALSE(pty.path.empty());
    const fs::path dir = fs::temp_directory_path() / ("kestrova-dev-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream(dir / "plain") << "x";
    fs::create_symlink(pty.path, dir / "link");
    fs::create_symlink(dir / "gone", dir / "dangling");

    const DeviceState terminal = InspectDevice(pty.path);
    EXPECT_TRUE(terminal.exists && terminal.characterDevice && terminal.pseudoTerminal &&
                terminal.accessible);
    EXPECT_FALSE(terminal.link);
    EXPECT_TRUE(IsRawPseudoTerminal(pty.path, terminal));

    const DeviceState link = InspectDevice((dir / "link").string());
    EXPECT_TRUE(link.link && link.pseudoTerminal);
    EXPECT_EQ(link.linkTarget, pty.path);
    EXPECT_FALSE(IsRawPseudoTerminal((dir / "link").string(), link));

    EXPECT_EQ(RefuseBeforeOpening(InspectDevice(dir.string())), "a folder, not a serial device");
    EXPECT_EQ(RefuseBeforeOpening(InspectDevice((dir / "plain").string())), "not a serial device");
    EXPECT_EQ(RefuseBeforeOpening(InspectDevice((dir / "missing").string())), "no such device");
    const DeviceState dangling = InspectDevice((dir / "dangling").string());
    EXPECT_TRUE(dangling.link);
    EXPECT_EQ(RefuseBeforeOpening(dangling), "no such device");
    EXPECT_EQ(RefuseBeforeOpening(terminal), std::nullopt);
    // Outside /dev/pts a terminal is known by its device number (making the nodes needs root).
    for (const auto& [number, terminalNumber] :
         {std::pair(135u, false), {136u, true}, {143u, true}, {144u, false}}) {
        const fs::path node = dir / std::to_string(number);
        if (::mknod(node.c_str(), S_IFCHR | 0600, makedev(number, 0)) == 0) {
            EXPECT_EQ(InspectDevice(node.string()).pseudoTerminal, terminalNumber) << number;
        }
    }
    fs::remove_all(dir);
}

DeviceState device(bool pty, bool link = false, std::uint64_t inode = 1,
                   std::string target = "/dev/pts/4") {
    DeviceState s;
    s.exists = s.characterDevice = true;
    s.pseudoTerminal = pty;
    s.link = link;
    s.linkInode = link ? inode : 0;
    s.linkTarget = link ? std::move(target) : "";
    return s;
}

struct RecoveryRig : LinkRig {
    RecoveryRig() {
        line.onLost = [this] {
            poll.portLost();
            recovery.lost();
        };
        start();
    }
    // What the file system says of each name; by default a serial device that is there while
    // the fake line can open it.
    DeviceState inspect(const std::string& path) {
        if (auto it = names.find(path); it != names.end()) {
            return it->second;
        }
        DeviceState s;
        s.exists = s.characterDevice = line.available[line.portNumber()];
        return s;
    }
    FakeTimer& RetryTmr = clock.make(500, [this] { recovery.retryTick(); });
    std::vector<std::string> reports;
    std::map<std::string, DeviceState> names;
    PortRecovery recovery{line, RetryTmr, [this](std::string_view m) { reports.emplace_back(m); },
                          [this](const std::string& p) { return inspect(p); }};
};

TEST(PortRecovery, DeviceGoneBlanksLikeALostLinkAndComesBackByItself) {
    RecoveryRig r;
    r.line.incoming = "B30682048S42045P\r\nB3068";  // the device goes in mid-packet
    r.clock.advance(10);
    ASSERT_EQ(r.st.link.LinkState, 2);

    r.line.loseDevice();
    EXPECT_TRUE(r.st.link.RxBuffer.empty());
    r.clock.advance(2100);  // 30 idle ticks and the link-loss timer; four tries to reopen
    EXPECT_EQ(r.reports, std::vector<std::string>{"Serial port lost."});
    EXPECT_TRUE(r.RetryTmr.isRunning());
    EXPECT_EQ(r.st.link.LinkState, 1);
    ASSERT_FALSE(r.decoders.calls.empty());
    EXPECT_EQ(r.decoders.calls.back().name, "StopBearings");
    EXPECT_TRUE(r.recovery.waiting());
    EXPECT_FALSE(r.line.isOpen());

    r.line.available[1] = true;  // plugged in again
    r.clock.advance(500);
    EXPECT_TRUE(r.line.isOpen());
    EXPECT_FALSE(r.RetryTmr.isRunning());
    EXPECT_EQ(r.reports.back(), "Serial port reopened.");

    r.line.incoming = "B30682048S42045P\r\n";
    r.clock.advance(4);
    EXPECT_EQ(r.st.link.LinkState, 2);
    EXPECT_EQ(r.decoders.calls.back().name, "DrawLine");
}

TEST(PortRecovery, StopsTryingWhenAnotherPortWasOpenedMeanwhile) {
    RecoveryRig r;
    r.line.loseDevice();
    r.line.available[2] = true;
    r.line.setPortNumber(2);
    ASSERT_TRUE(r.line.open());
    const int opens = r.line.opens;
    r.clock.advance(1000);
    EXPECT_FALSE(r.recovery.waiting());
    EXPECT_FALSE(r.RetryTmr.isRunning());
    EXPECT_EQ(r.line.opens, opens);
    EXPECT_EQ(r.line.portNumber(), 2);
}

TEST(PortRecovery, APortMissingAtStartUpIsOpenedWhenItsDeviceAppears) {
    RecoveryRig r;
    r.line.close();
    r.line.available[3] = false;
    r.line.setPortNumber(3);
    ASSERT_FALSE(r.line.open());
    ASSERT_TRUE(r.recovery.awaitDevice());
    r.line.setPortNumber(1);  // start-up put the line back on its previous number
    r.clock.advance(4000);
    EXPECT_FALSE(r.line.isOpen());
    r.line.available[3] = true;
    r.clock.advance(500);
    EXPECT_TRUE(r.line.isOpen());
    EXPECT_EQ(r.line.portNumber(), 3);
    EXPECT_EQ(r.reports, std::vector<std::string>{"Serial port /dev/fake3 opened."});
}

TEST(PortRecovery, AConnectionSaysWhyAndRetriesQuietlyUntilItIsUpAgain) {
    RecoveryRig r;
    r.names["/dev/fake1"].exists = r.names["/dev/fake1"].network = true;
    // The connection goes; each attempt starts connecting (the open succeeds) and fails later,
    // until the last comes up.
    for (const char* why : {"closed by the server", "connection refused", "connection refused"}) {
        r.line.failure = why;
        r.line.loseDevice();
        r.line.available[1] = true;
        r.clock.advance(500);
        ASSERT_TRUE(r.line.isOpen());
        const int opens = r.line.opens;
        r.clock.advance(2000);
        EXPECT_EQ(r.line.opens, opens) << "no new attempt while one is on its way";
    }
    r.recovery.connected();
    r.recovery.connected();
    EXPECT_EQ(r.reports,
              (std::vector<std::string>{"Serial port /dev/fake1: closed by the server; retrying.",
                                        "Serial port /dev/fake1: connection refused; retrying.",
                                        "Serial port reopened."}));
    EXPECT_FALSE(r.recovery.waiting());
}

TEST(PortRecovery, APseudoTerminalIsReopenedOnlyThroughALinkMadeAnew) {
    // the configured name is a link to the terminal; the link was made again after the loss
    for (const auto& [link, madeAnew] : {std::pair(false, false), {true, false}, {true, true}}) {
        SCOPED_TRACE(::testing::Message() << link << madeAnew);
        RecoveryRig r;
        r.names["/dev/fake1"] = device(true, link, 7);
        const int opens = r.line.opens;
        r.line.loseDevice();
        EXPECT_EQ(r.recovery.waiting(), link);
        // The number comes back, perhaps as someone else's terminal.
        r.line.available[1] = true;
        if (madeAnew) {
            r.names["/dev/fake1"].linkInode = 8;
        }
        r.clock.advance(2000);
        EXPECT_EQ(r.line.isOpen(), madeAnew);
        EXPECT_EQ(r.line.opens - opens, madeAnew ? 1 : 0);
        if (!link) {
            EXPECT_EQ(r.reports.back(),
                      "Serial port lost: /dev/fake1 is a pseudo-terminal and is not reopened by "
                      "itself; use Configure.");
        }
    }
}

}  // namespace
}  // namespace kestrova::testing
