#!/usr/bin/env bash
# Runs the built program against the processor simulator over a pseudo-terminal and lets the
# simulator judge the answers on the line. Usage: tools/e2e.sh BIN_DIR SECONDS [SIM FLAGS...]
# E2E_SETTINGS: settings lines to add, separated by blanks (PollTimer=1 polls every 2 ms).
set -euo pipefail
bin=$(cd "$1" && pwd) seconds=$2
shift 2
. "$(dirname "$0")/sim-session.sh"

session_open kestrova-e2e
session_sim --duration "$seconds" "$@"
for setting in ${E2E_SETTINGS:-}; do session_setting "$setting"; done
session_app
session_verdict
if ! session_app_alive; then
  echo "the program died during the run"
  cat "$work/app.log"
  exit 1
fi
exit $status
