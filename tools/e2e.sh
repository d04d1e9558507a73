#!/usr/bin/env bash
# Runs the built program against the processor simulator over a pseudo-terminal and lets the
# simulator judge the answers on the line. Usage: tools/e2e.sh BIN_DIR SECONDS [SIM FLAGS...]
set -euo pipefail
bin=$(cd "$1" && pwd) seconds=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/kestrova-e2e-XXXXXX)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${sim:-}" ] && kill "$sim" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cp "$bin"/kestrova "$bin"/Kestrova.ini "$bin"/Ant-GND-Win32.bmp "$bin"/Ant-AIR-Win32.bmp "$work"/
"$bin"/kestrova-sim --link "$work/pty" --duration "$seconds" "$@" > "$work/sim.log" 2>&1 &
sim=$!
for _ in $(seq 100); do [ -e "$work/pty" ] && break; sleep 0.05; done
"$here"/point-port.sh "$work" "$work/pty"

QT_QPA_PLATFORM=offscreen "$work"/kestrova > "$work/app.log" 2>&1 &
app=$!

status=0
wait "$sim" || status=$?
sim=
tail -1 "$work/sim.log"
if ! kill -0 "$app" 2>/dev/null; then
  echo "the program died during the run"
  cat "$work/app.log"
  exit 1
fi
exit $status
