#pragma once
// The start-up sequence: run once before the main window is first shown.

#include "core/Station.h"
#include "core/Timer.h"
#include "settings/Ports.h"
#include "settings/Store.h"

namespace kestrova {

// What start-up needs of the main window beyond its display elements.
class MainWindowShell {
  public:
    virtual ~MainWindowShell() = default;
    virtual void SetAlwaysOnTop(bool onTop) = 0;
};

struct StartUp {
    Station& st;
    Store& store;
    SerialPorts& ports;
    MainWindowShell& window;
    Timer& Timer4;
};

// Places the window, applies the window options, sets the start values, blanks every display,
// opens the port and, last of all, starts the poll timer. Returns false when the settings
// could not be read at all and the program is ending.
bool Form_Load(const StartUp& s);

// "Kestrova Release " and the version as major.minor.revision.
std::string VersionLabel();

}  // namespace kestrova
