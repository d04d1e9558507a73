#include "tools/sim/Options.h"

namespace kestrova::sim {

namespace {

constexpr const char* kHelp =
    R"(kestrova-sim: plays the direction-finding processor on a pseudo-terminal.

Prints the device path of the terminal's far end as its first line, streams packets at
19200 baud, counts what the display answers and ends after --duration seconds with a
one-line summary. Exit status 0 when the answers match the stream, 1 on a mismatch,
2 on a usage error, 3 when the terminal cannot be opened.

  --link PATH         also make PATH a symbolic link to the terminal (removed at exit)
  --duration SECONDS  length of the run (default 60; with --replay: the file's length + 1)
  --seed N            seed of every random choice; the same seed gives the same stream
  --scenario FILE     read directives from FILE first; flags given as well override it
  --replay FILE       play FILE instead of generating packets: a recording made by the
                      display (first line "KESTROVA-REC 1") with its own timing, pauses
                      included, from the moment a display opens the terminal; any other
                      file as raw bytes at line pace from the start
  --record FILE       write every byte sent to FILE (a capture that --replay can play)
  --garbage           inject bursts of random characters
  --lost-eol          drop the CR LF of some status, antenna and GPS lines
  --cut-bearing       send some bearing packets cut short
  --lower-case        send some packets with a lower-case type letter
  --stop-resume       stop the stream in mid-packet for up to 3 s, then go on
  --faults            all five faults
  --fault-every SEC   mean seconds between faults of each enabled kind (default 5)
  --gps-every SEC     seconds between GPS packets (default 1)
  --drive-...         a drive past a transmitter (tools/sim/README.md: Drives)
  --no-pauses         no automatic stream pauses or GPS gaps
  --verbose           report connections, pauses, faults and answers on stderr
  --help              this text

Checks: every status line decoded through its 8th field must draw CR LF, one with an
unknown mode (7th) or power (8th) token BEL CR LF, one whose 3rd field is not 3
characters nothing; every antenna line CR LF. Lines the display may have missed
(connecting, faults, the end of the run) only widen the accepted counts. The display
must send 1.6 to 2.4 NULs a second (one more or less allowed) while connected.
The stream stops half a second before the end so that late answers still count.

Scenario file: one directive a line, "#" starts a comment line. Times are seconds.
  duration S | seed N | link PATH | record PATH | replay PATH
  status-every S      status packet interval (default 1)
  gps-every S         GPS packet interval (default 1)
  antenna-every S     antenna change interval, 0 = never (default 40)
  pauses on|off       automatic pauses and GPS gaps
  pause-first S | pause-every S | pause-length S        (defaults 20, 45, 3.5; every 0 = none)
  gps-gap-first S | gps-gap-every S | gps-gap-length S  (defaults 32, 60, 7; every 0 = none)
  fault KIND          enable a fault: garbage, lost-eol, cut-bearing, lower-case,
                      stop-resume or all
  fault-every S       as --fault-every
  cycle TEXT          a status line without its "A" and CR LF; the cycle lines replace
                      the built-in cycle and are sent in turn
  antenna TEXT        an antenna line without its "C" and CR LF; the antenna lines
                      replace the built-in rotation
  at T pause S        the whole stream stops for S seconds at T
  at T gps-gap S      no GPS packets for S seconds
  at T stop S         the stream stops in the middle of a packet for S seconds
  at T noise-stop S   a burst of line noise, then the stream stops for S seconds
  at T compass-off S  compass heading "999" for S seconds
  at T tune S         tune readings instead of signal strength for S seconds
  at T status TEXT    one extra status line
  at T antenna TEXT   one extra antenna line; it becomes the current antenna
  at T fault KIND     one fault of that kind

Example: kestrova-sim --link /tmp/kestrova-pty --duration 30
)";

}  // namespace

const char* helpText() {
    return kHelp;
}

}  // namespace kestrova::sim
