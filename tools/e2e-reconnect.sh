#!/usr/bin/env bash
# The processor's line vanishes mid-stream and comes back: the program must keep running
# without spinning, and reopen the port by itself so the second simulator is answered.
# Usage: tools/e2e-reconnect.sh BIN_DIR
set -euo pipefail
bin=$(cd "$1" && pwd)
. "$(dirname "$0")/sim-session.sh"

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

session_open kestrova-reconnect
SIM_LOG=sim1.log session_sim --duration 60 --no-pauses
session_app
sleep 4

kill "$sim"; wait "$sim" 2>/dev/null || true
sim=
before=$(cpu_ticks "$app")
sleep 3
after=$(cpu_ticks "$app")
hz=$(getconf CLK_TCK)
if ! session_app_alive; then echo "the program died when the line vanished"; exit 1; fi
echo "CPU while the line was gone: $((after - before)) ticks of 1/$hz s in 3 s"
if [ $((after - before)) -gt "$hz" ]; then echo "busy while the line was gone"; exit 1; fi

SIM_LOG=sim2.log session_sim --duration 12 --no-pauses
session_verdict
session_app_alive || { echo "the program died"; exit 1; }
exit $status
