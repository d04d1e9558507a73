#pragma once
// The serial port procedures on a fake line whose ports 1 to 5 can be opened (4 is no RS-232
// port), with the settings store of StoreRig.

#include "settings/Ports.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"
#include "tests/settings/StoreRig.h"

namespace kestrova::testing {

inline const Box kUnavailable{
    "                  ERROR\r\rThe selected serial port is currently\runavailable.  Please "
    "select another port.",
    "Kestrova", BoxIcon::Exclamation};
inline const Box kNoPorts{"                   ERROR\r\rCould not find any available serial ports.",
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

}  // namespace kestrova::testing
