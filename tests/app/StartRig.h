#pragma once
// The start-up sequence on the settings store of StoreRig, a fake line whose ports 1 and 3
// can be opened, and a window shell that records what it is asked.

#include "app/FormLoad.h"
#include "tests/fakes/FakeSerialLine.h"
#include "tests/fakes/FakeTimers.h"
#include "tests/settings/StoreRig.h"

namespace kestrova::testing {

struct ShellRecorder : MainWindowShell {
    void SetAlwaysOnTop(bool on) override { onTop.push_back(on); }
    std::vector<bool> onTop;
};

struct AcceptAll : PortProbe {
    bool isRs232(int) override { return true; }
};

struct StartRig : StoreRig {
    explicit StartRig(const std::string& settings) {
        if (!settings.empty()) {
            put("Kestrova.ini", settings);
            put("Kestrova.bak", settings);
        }
        line.available = {{1, true}, {3, true}};
        st.dataFolder = folder.string();
        Timer4.onTick = [this] { ++polls; };
    }
    bool run() {
        StartUp s{st, store, ports, shell, Timer4};
        return Form_Load(s);
    }

    FakeSerialLine line;
    Station st{display, line};
    AcceptAll probe;
    PortDevices devices;
    FakeClock timeline;
    FakeTimer& Timer4 = timeline.make(2);
    FakeTimer& StayAliveTmr = timeline.make(500);
    SerialPorts ports{line, store, boxes, probe, devices, StayAliveTmr};
    ShellRecorder shell;
    int polls = 0;
};

}  // namespace kestrova::testing
