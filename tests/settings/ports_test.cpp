#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <tuple>

#include "tests/settings/PortsRig.h"

namespace kestrova::testing {
namespace {

// Switching to an unavailable port keeps the old one; probing for ports lists the usable
// RS-232 ones and restores the port in use; with none usable, a box says so.
TEST(SerialPorts, SwitchingAndFindingPortsRestoreThePortInUse) {
    PortsRig r;
    r.ports.SerialPort(2);
    r.ports.SerialPort(9);
    EXPECT_TRUE(r.line.isOpen());
    EXPECT_EQ(r.line.portNumber(), 2);
    EXPECT_EQ(r.boxes.boxes, std::vector{kUnavailable});

    const int opens = r.line.opens;
    r.ports.SerialPort(2);  // already open: nothing happens
    EXPECT_EQ(r.line.opens, opens);
    r.ports.SerialPort(PortOfEntry(EntryOfPort(3)).value());  // as the port list names it
    EXPECT_EQ(r.line.portNumber(), 3);
    EXPECT_TRUE(r.line.isOpen());

    r.line.available.insert({{16, true}, {17, true}});
    std::vector<std::int16_t> list = {42};  // a stale list is not kept
    std::int16_t count = -1;
    r.ports.FindPorts(list, count);
    EXPECT_EQ(list, (std::vector<std::int16_t>{1, 2, 3, 5, 16}));
    EXPECT_EQ(count, 5);
    EXPECT_EQ(r.line.portNumber(), 3);
    EXPECT_TRUE(r.line.isOpen());

    r.line.available.clear();
    r.ports.FindPorts(list, count);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(r.boxes.boxes, (std::vector{kUnavailable, kNoPorts}));
    EXPECT_FALSE(r.line.isOpen());
    EXPECT_EQ(PortOfEntry("CO"), std::nullopt);  // what an empty list's entry gives
    EXPECT_EQ(PortOfEntry("COM"), 0);
    EXPECT_EQ(PortDeviceKey(10), "PortDevice10");
}

TEST(SerialProbe, WhichOpenPortsCountAsSerialLines) {
    const std::tuple<PortFacts, bool, const char*> rows[] = {
        {{false, false, false, false}, false, "not a terminal"},
        {{true, false, false, false}, true, "pseudo-terminal: no UART driver"},
        {{true, true, true, false}, true, "legacy port with a UART"},
        {{true, true, false, false}, false, "legacy port without a UART"},
        {{true, true, false, true}, true, "USB adapter reporting no UART type"},
    };
    for (const auto& [facts, usable, what] : rows) {
        EXPECT_EQ(UsableSerialPort(facts), usable) << what;
    }
    EXPECT_EQ(SysfsDeviceOf("kestrova-no-such-tty"), "");
}

TEST(SerialProbe, APseudoTerminalIsUsableAndAFileIsNot) {
    LinuxPortProbe probe;
    const int pty = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(pty, 0);
    EXPECT_TRUE(probe.isRs232(pty));
    ::close(pty);
    const int file = ::open("/proc/self/status", O_RDONLY);
    EXPECT_FALSE(probe.isRs232(file));
    ::close(file);
    EXPECT_FALSE(probe.isRs232(-1));
}

}  // namespace
}  // namespace kestrova::testing
