#pragma once
// The program as a whole: the main window, the serial line, the timers, the settings store,
// and the receive link bound to the real decoders.

#include <QPointer>
#include <memory>
#include <string>

#include "app/FormLoad.h"
#include "app/StationDecoders.h"
#include "app/ViewOptions.h"
#include "app/frmKestrova.h"
#include "core/Station.h"
#include "fix/LineStore.h"
#include "link/Dispatch.h"
#include "link/PortRecovery.h"
#include "link/QtSerialLine.h"
#include "link/QtTimer.h"
#include "link/RxPoll.h"
#include "link/Supervision.h"
#include "link/VirtualTicks.h"
#include "map/MapOptions.h"
#include "map/MapSession.h"
#include "net/PortLine.h"
#include "net/QtNetworkLine.h"
#include "net/QtShareServer.h"
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
    std::string share;           // [ADDR:]PORT to share the line on; "" not to share
    map::MapOptions map;         // likewise
};

// Serial ports are opened and asked; network ports are connected to, briefly.
class NetworkPortProbe : public LinuxPortProbe {
  public:
    std::optional<bool> answers(const std::string& device) override;
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
    PortLine& line() { return line_; }
    // The share, while it listens.
    const QtShareServer* share() const { return share_.get(); }
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
    // The same for what the network lines and the share have to say.
    void tell(std::string_view message);
    void wireNetwork();
    void startSharing(const std::string& address);
    // Each PortDeviceNN that names a network address wrongly, by its key.
    void checkPortDevices();

    bool startingUp_ = false;
    frmKestrova window_;
    PortDevices devices_;
    QtSerialLine serial_;
    QtNetworkLine network_;
    PortLine line_;  // the serial line or the network line, as the port's device names it
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
    NetworkPortProbe probe_;
    SerialPorts ports_;
    PortRecovery recovery_;
    QPointer<frmPortSelect> dialog_;
    std::unique_ptr<QtShareServer> share_;
    std::string shareAddress_;  // as given, then as listened on

    // View options: history marks, palette, scale.
    void applyViewOptions();
    ViewOptions viewOptions_;
    OperatorOptions outputs_;
    std::string settingsFolder_;

    // The lines of bearing and the map window that draws them: made after start-up, the map
    // opened then when the options ask, later by the M key or the status line's menu.
    void beginMap();
    void statusMenu(QPoint at);
    map::MapOptions mapOptions_;
    SteadyClock steady_;
    std::unique_ptr<fix::LineStore> lines_;
    std::unique_ptr<map::MapSession> map_;

  public:
    fix::LineStore* lines() const { return lines_.get(); }
    map::MapSession* map() const { return map_.get(); }
};

}  // namespace kestrova
