#pragma once
// The program as a whole: the main window, the serial line, the timers, the settings store,
// and the receive link bound to the real decoders.

#include <QPointer>
#include <string>

#include "app/FormLoad.h"
#include "app/Station.h"
#include "app/StationDecoders.h"
#include "app/frmKestrova.h"
#include "link/Dispatch.h"
#include "link/PortRecovery.h"
#include "link/QtSerialLine.h"
#include "link/QtTimer.h"
#include "link/RxPoll.h"
#include "link/Supervision.h"
#include "settings/Clock.h"
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
};

class KestrovaApp : public MainWindowShell, public MainWindowPlacement {
  public:
    explicit KestrovaApp(const AppSetup& setup);
    ~KestrovaApp() override;

    // Runs the start-up sequence and shows the window; false when the program must end.
    bool start();

    void butConfig_Click();

    frmKestrova& window() { return window_; }
    Station& station() { return st_; }
    QtSerialLine& line() { return line_; }
    Store& store() { return store_; }
    frmPortSelect* portDialog() const { return dialog_.data(); }

    // MainWindowShell
    void SetAlwaysOnTop(bool onTop) override;
    // MainWindowPlacement
    void hide() override;
    void setTop(int twips) override;
    void setLeft(int twips) override;

  private:
    frmKestrova window_;
    PortDevices devices_;
    QtSerialLine line_;
    Station st_;
    StationDecoders decoders_;
    QtTimer Timer4_;
    QtTimer Timer1_;
    QtTimer GPSTimeOut_;
    QtTimer StayAliveTmr_;
    QtTimer RecoveryTmr_;
    Supervision supervision_;
    Dispatch dispatch_;
    RxPoll poll_;
    SystemClock clock_;
    PosixFileOps files_;
    QtMessageBoxes boxes_;
    Store store_;
    LinuxPortProbe probe_;
    SerialPorts ports_;
    PortRecovery recovery_;
    QPointer<frmPortSelect> dialog_;
};

}  // namespace kestrova
