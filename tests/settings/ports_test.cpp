#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <tuple>

#include "settings/Ports.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"
#include "tests/settings/StoreRig.h"

namespace kestrova::testing {
namespace {

const Box kUnavailable{
    "                  ERROR\r\rThe selected serial port is currently\runavailable.  Please "
    "select another port.",
    "Kestrova", BoxIcon::Exclamation};
const Box kNoPorts{"                   ERROR\r\rCould not find any available serial ports.",
                   "Kestrova", BoxIcon::Exclamation};

struct FakeProbe : PortProbe {
    bool isRs232(int handle) override { return handle != 104; }  // port 4 is not RS-232
};

// Ports 1 to 5 can be opened; the settings file and its backup hold `settings`.
struct PortsRig : StoreRig {
    explicit PortsRig(const OptText& settings = {}) : StoreRig(settings, settings) {
        line.available = {{1, true}, {2, true}, {3, true}, {4, true}, {5, true}};
    }
    FakeSerialLine line;
    FakeProbe probe;
    PortDevices devices;
    FakeClock timeline;
    FakeTimer& StayAliveTmr = timeline.make(500);
    SerialPorts ports{line, store, boxes, probe, devices, StayAliveTmr};
};

TEST(SerialPorts, InitializeOpensThePortNamedInTheSettings) {
    const std::tuple<const char*, int, bool, bool, std::string> cases[] = {
        // RxCOMport value (nullptr: no such line), port number after, open, box, status line
        {"3", 3, true, false, ""},
        {"3.5", 4, true, false, ""},
        {"2.5", 2, true, false, ""},
        {"abc", 1, false, true, ""},     // asks for port 0, which cannot open
        {"99999", 1, false, false, ""},  // beyond 16 bits: skipped without a word
        {nullptr, 1, true, false, "14:03:07> Err reading Port from ini file"},
    };
    for (const auto& [value, port, open, box, status] : cases) {
        SCOPED_TRACE(value ? value : "(missing)");
        PortsRig r(value ? std::string("RxCOMport=") + value : "CenterOnScreen=1");
        r.ports.InitializeSerialComm();
        EXPECT_EQ(r.line.portNumber(), port);
        EXPECT_EQ(r.line.isOpen(), open);
        EXPECT_EQ(r.boxes.boxes, box ? std::vector{kUnavailable} : std::vector<Box>{});
        EXPECT_EQ(r.status(), status);
        EXPECT_TRUE(r.StayAliveTmr.isRunning());
        const LineOptions& o = r.line.options;
        EXPECT_EQ(std::tie(r.line.optionsSet, o.handshaking, o.rts, o.dtr),
                  std::tuple(true, false, false, false));
    }
}

// Absent keys are not reported, nor looked for in the backup.
TEST(SerialPorts, PortDeviceKeysNameOtherDevicesQuietly) {
    PortsRig r;
    r.put("Kestrova.ini", "RxCOMport=2\r\nPortDevice02=/dev/pts/7 \r\nPortDevice16=/dev/x\r\n");
    r.ports.InitializeSerialComm();
    EXPECT_EQ(r.devices.deviceFor(2), "/dev/pts/7");  // trailing blank dropped
    EXPECT_EQ(r.devices.deviceFor(16), "/dev/x");
    EXPECT_EQ(r.devices.deviceFor(1), "/dev/ttyS0");
    EXPECT_EQ(r.devices.deviceFor(5), "/dev/ttyUSB0");
    EXPECT_EQ(r.devices.deviceFor(13), "/dev/ttyACM0");
    EXPECT_EQ(r.devices.deviceFor(17), "");
    EXPECT_EQ(r.status(), "");
    EXPECT_TRUE(r.boxes.boxes.empty());
}

// A device given for this run takes the place of the port start-up opens, whichever that is;
// other ports and both settings files stay as they were.
TEST(SerialPorts, RunDeviceTakesThePlaceOfThePortStartUpOpens) {
    const std::pair<std::string, std::int16_t> cases[] = {
        {"RxCOMport=3\r\nPortDevice03=/dev/x\r\nPortDevice04=/dev/y\r\n", 3},
        {"RxCOMport=2.5\r\nPortDevice04=/dev/y\r\n", 2},
        {"CenterOnScreen=1\r\nPortDevice04=/dev/y\r\n", 1},
    };
    for (const auto& [ini, port] : cases) {
        SCOPED_TRACE(ini);
        PortsRig r(ini);
        r.devices.setRunDevice("/tmp/run-pty");
        r.ports.InitializeSerialComm();
        EXPECT_EQ(r.line.portNumber(), port);
        EXPECT_TRUE(r.line.isOpen());
        EXPECT_EQ(r.devices.deviceFor(port), "/tmp/run-pty");
        EXPECT_EQ(r.devices.deviceFor(4), "/dev/y");
        EXPECT_EQ(r.devices.deviceFor(5), "/dev/ttyUSB0");
        EXPECT_EQ(r.get("Kestrova.ini"), ini);
        EXPECT_EQ(r.get("Kestrova.bak"), ini);
    }
}

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
