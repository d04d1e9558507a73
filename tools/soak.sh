#!/usr/bin/env bash
# Soak: the built program against the simulator at full line rate with every fault injected,
# for SECONDS (default an hour). Reports resident memory at start and end; the simulator
# judges every answer. Not part of CI. Usage: tools/soak.sh [SECONDS] [BIN_DIR]
set -euo pipefail
seconds=${1:-3600}
bin=$(cd "${2:-$(dirname "$0")/../build/bin}" && pwd)
. "$(dirname "$0")/sim-session.sh"

rss() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }

session_open kestrova-soak
session_sim --duration "$seconds" --faults --fault-every 3 --seed "${SOAK_SEED:-1}"
session_app
sleep 10
start_rss=$(rss "$app")
session_verdict > "$work/verdict"
if session_app_alive; then alive=yes; end_rss=$(rss "$app"); else alive=no; end_rss=-; fi
echo "soak: ${seconds} s; resident memory ${start_rss} kB after 10 s, ${end_rss} kB at the end; program alive: $alive"
cat "$work/verdict"
[ "$alive" = yes ] || exit 1
exit $status
