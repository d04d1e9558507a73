#pragma once
// The program as a whole: the main window, the serial line, the timers, the settings store,
// and the receive link bound to the real decoders.

#include <QPointer>
#include <string>

#include "app/FormLoad.h"
#include "app/StationDecoders.h"
#include "app/ViewOptions.h"
#include "app/frmKestrova.h"
#include "core/Station.h"
#include "link/Dispatch.h"
#include "link/PortRecovery.h"
#include "link/QtSerialLine.h"
#include "link/QtTimer.h"
#include "link/RxPoll.h"
#include "link/Supervision.h"
#include "link/VirtualTicks.h"
#include "output/OperatorTools.h"
#include "settings/FileOps.h"
#include "settings/MainWindowPlacement.h"
#include "settings/PortDevices.h"
#include "settings/Ports.h"
#include "settings/QtMessageBoxes.h"
#include "settings/SerialProbe.h"
#include "settings/Store.h"
#include "settings/frmPortSelect.h"

namespace kestrova {

// Where the program keeps and finds its files, and what the command line asked for this run.
struct AppSetup {
    std::string settingsFolder;  // Kestrova.ini and Kestrova.bak
    std::string dataFolder;      // the antenna-mount pictures
    std::string portDevice;      // opened at start-up for this run only; "" for the configured
    ViewOptions view;            // from the command line; the settings file fills in the rest
    OperatorOptions outputs;     // likewise
};

class KestrovaApp : public MainWindowShell, public MainWindowPlacement {
  public:
    explicit KestrovaApp(const AppSetup& setup);
    ~KestrovaApp() override;

    // Runs the start-up sequence and shows the window; false when the program must end.
    bool start();

    const ViewOptions& viewOptions() const { return viewOptions_; }
    OperatorTools& tools() { return tools_; }

    void butConfig_Click();

    frmKestrova& window() { return window_; }
    Station& station() { return st_; }
    QtSerialLine& line() { return line_; }
    Store& store() { return store_; }
    frmPortSelect* portDialog() const { return dialog_.data(); }
    // Whether the 2 ms timer polls (PollTimer=1) rather than the virtual ticks.
    bool pollsEvery2ms() const { return Timer4_.isRunning(); }

    // MainWindowShell
    void SetAlwaysOnTop(bool onTop) override;
    // MainWindowPlacement
    void hide() override;
    void setTop(int twips) override;
    void setLeft(int twips) override;

  private:
    // A port could not be opened: the reason on the status line and standard error.
    void openFailed(const std::string& why);

    bool startingUp_ = false;
    frmKestrova window_;
    PortDevices devices_;
    QtSerialLine line_;
    QtWakeTimer recordWriteOut_;
    OperatorTools tools_;  // between the station and its window and line
    Station st_;
    StationDecoders decoders_;
    QtTimer Timer4_;
    QtWakeTimer PollWake_;
    // The ticks tell time in whole ticks: input arriving during a tick's 2 ms is read by that
    // tick at once, as by a 2 ms timer that fires late within its tick, instead of by a
    // wake-up of its own when the next tick falls due.
    QtMonotonicClock monotonic_{VirtualTicks::kTickMs};
    QtTimer Timer1_;
    QtTimer GPSTimeOut_;
    QtTimer StayAliveTmr_;
    QtTimer RecoveryTmr_;
    Supervision supervision_;
    Dispatch dispatch_;
    RxPoll poll_;
    VirtualTicks ticks_;
    PollTimer pollTimer_;
    PosixFileOps files_;
    QtMessageBoxes boxes_;
    Store store_;
    LinuxPortProbe probe_;
    SerialPorts ports_;
    PortRecovery recovery_;
    QPointer<frmPortSelect> dialog_;

    // View options: history marks, palette, scale.
    void applyViewOptions();
    ViewOptions viewOptions_;
    OperatorOptions outputs_;
    std::string settingsFolder_;
};

}  // namespace kestrova
