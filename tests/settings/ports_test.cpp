#include <gtest/gtest.h>

#include <set>

#include "settings/Ports.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"
#include "tests/settings/StoreRig.h"

namespace kestrova::testing {
namespace {

const std::string kUnavailable =
    "                  ERROR\r\rThe selected serial port is currently\runavailable.  Please "
    "select another port.";
const std::string kNoPorts =
    "                   ERROR\r\rCould not find any available serial ports.";

struct FakeProbe : PortProbe {
    bool isRs232(int handle) override {
        probed.push_back(handle);
        return !rejected.count(handle - 100);
    }
    std::set<int> rejected;  // port numbers that are not RS-232
    std::vector<int> probed;
};

struct PortsRig : StoreRig {
    PortsRig() {
        line.available.clear();
        for (std::int16_t p : {1, 2, 3, 4, 5}) {
            line.available[p] = true;
        }
    }
    void settings(const std::string& body) {
        put("Kestrova.ini", body);
        put("Kestrova.bak", body);
    }
    FakeSerialLine line;
    FakeProbe probe;
    PortDevices devices;
    FakeClock timeline;
    FakeTimer& StayAliveTmr = timeline.make(500);
    SerialPorts ports{line, store, boxes, probe, devices, StayAliveTmr};
};

struct StartCase {
    const char* value;  // RxCOMport line, or nullptr for no such line
    int openPort;       // 0: no port open
    bool box;
    const char* status;
};

TEST(SerialPorts, InitializeOpensThePortNamedInTheSettings) {
    const std::vector<StartCase> cases = {
        {"3", 3, false, ""},
        {"3.5", 4, false, ""},
        {"2.5", 2, false, ""},
        {" 5", 5, false, ""},
        {"9", 0, true, ""},
        {"abc", 0, true, ""},     // asks for port 0, which cannot open
        {"99999", 0, false, ""},  // beyond 16 bits: skipped without a word
        {nullptr, 1, false, "14:03:07> Err reading Port from ini file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(missing)");
        PortsRig r;
        r.settings(std::string("CenterOnScreen=1\r\n") +
                   (c.value ? std::string("RxCOMport=") + c.value + "\r\n" : ""));
        r.ports.InitializeSerialComm();
        EXPECT_EQ(r.line.isOpen(), c.openPort != 0);
        if (c.openPort) {
            EXPECT_EQ(r.line.portNumber(), c.openPort);
        }
        EXPECT_EQ(r.boxes.boxes.size(), c.box ? 1u : 0u);
        if (c.box) {
            EXPECT_EQ(r.boxes.boxes[0].text, kUnavailable);
            EXPECT_EQ(r.boxes.boxes[0].title, "Kestrova");
            EXPECT_EQ(r.boxes.boxes[0].icon, BoxIcon::Exclamation);
        }
        if (*c.status) {
            EXPECT_EQ(r.status(), c.status);
        }
        EXPECT_TRUE(r.StayAliveTmr.isRunning());
        EXPECT_TRUE(r.line.optionsSet);
        EXPECT_FALSE(r.line.options.rts);
        EXPECT_FALSE(r.line.options.dtr);
        EXPECT_EQ(r.line.options.receiveThreshold, 1400);
    }
}

TEST(SerialPorts, PortDeviceKeysNameOtherDevicesQuietly) {
    PortsRig r;
    r.settings("RxCOMport=2\r\nPortDevice02=/dev/pts/7 \r\nPortDevice16=/dev/serial/by-id/x\r\n");
    r.ports.InitializeSerialComm();
    EXPECT_EQ(r.devices.deviceFor(2), "/dev/pts/7");
    EXPECT_EQ(r.devices.deviceFor(16), "/dev/serial/by-id/x");
    EXPECT_EQ(r.devices.deviceFor(1), "/dev/ttyS0");
    EXPECT_EQ(r.devices.deviceFor(5), "/dev/ttyUSB0");
    EXPECT_EQ(r.devices.deviceFor(13), "/dev/ttyACM0");
    EXPECT_EQ(r.devices.deviceFor(17), "");
    EXPECT_EQ(r.status(), "");  // absent keys are not reported
    EXPECT_TRUE(r.boxes.boxes.empty());
}

TEST(SerialPorts, SwitchingToAnUnavailablePortRestoresTheOldOne) {
    PortsRig r;
    r.line.setPortNumber(2);
    ASSERT_TRUE(r.line.open());
    r.ports.SerialPort(9);
    EXPECT_TRUE(r.line.isOpen());
    EXPECT_EQ(r.line.portNumber(), 2);
    ASSERT_EQ(r.boxes.boxes.size(), 1u);
    EXPECT_EQ(r.boxes.boxes[0].text, kUnavailable);

    const int opens = r.line.opens;
    r.ports.SerialPort(2);  // already open: nothing happens
    EXPECT_EQ(r.line.opens, opens);
    r.ports.SerialPort(4);
    EXPECT_EQ(r.line.portNumber(), 4);
    EXPECT_TRUE(r.line.isOpen());
}

TEST(SerialPorts, FindPortsListsUsableRs232PortsAndRestoresThePortInUse) {
    PortsRig r;
    r.line.available[16] = true;
    r.line.available[17] = true;
    r.probe.rejected = {4};
    r.line.setPortNumber(3);
    ASSERT_TRUE(r.line.open());
    std::vector<std::int16_t> list = {42};  // a stale list is not kept
    std::int16_t count = -1;
    r.ports.FindPorts(list, count);
    EXPECT_EQ(list, (std::vector<std::int16_t>{1, 2, 3, 5, 16}));
    EXPECT_EQ(count, 5);
    EXPECT_EQ(r.probe.probed.size(), 6u);  // port 17 is never tried
    EXPECT_EQ(r.line.portNumber(), 3);
    EXPECT_TRUE(r.line.isOpen());
    EXPECT_TRUE(r.boxes.boxes.empty());
}

TEST(SerialPorts, FindPortsWithNothingUsableSaysSo) {
    PortsRig r;
    r.line.available.clear();
    std::vector<std::int16_t> list;
    std::int16_t count = -1;
    r.ports.FindPorts(list, count);
    EXPECT_EQ(count, 0);
    EXPECT_TRUE(list.empty());
    ASSERT_EQ(r.boxes.boxes.size(), 1u);
    EXPECT_EQ(r.boxes.boxes[0].text, kNoPorts);
    EXPECT_FALSE(r.line.isOpen());
}

TEST(SerialPorts, ListEntriesAndTheirPortNumbers) {
    const std::vector<std::pair<std::string, std::optional<std::int16_t>>> cases = {
        {"COM3", 3}, {"COM16", 16}, {"COM", 0}, {"COMx", 0}, {"CO", std::nullopt},
    };
    for (const auto& [entry, port] : cases) {
        EXPECT_EQ(PortOfEntry(entry), port) << entry;
    }
    EXPECT_EQ(EntryOfPort(12), "COM12");
}

}  // namespace
}  // namespace kestrova::testing
