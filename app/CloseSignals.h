#pragma once
// SIGTERM, SIGINT and SIGHUP (systemctl stop, Ctrl-C, a logout) close the program as closing
// its window does. Their handler only writes the signal's number into a pipe that the UI
// thread watches, and hands the three back to their default action: a second one, while the
// close runs, ends the program at once.

namespace kestrova {

// Installs the handler; the read end of its pipe, readable once a signal came, or -1 when no
// pipe can be made (the signals then end the program as they always did).
int WatchCloseSignals();

// The signal that came, taken from the pipe; 0 when none is waiting.
int TakeCloseSignal(int fd);

}  // namespace kestrova
