#!/usr/bin/env bash
# Soak: the built program against the simulator at full line rate with every fault injected,
# for SECONDS (default an hour). Reports resident memory at start and end; the simulator
# judges every answer. Not part of CI. Usage: tools/soak.sh [SECONDS] [BIN_DIR]
set -euo pipefail
seconds=${1:-3600}
bin=$(cd "${2:-$(dirname "$0")/../build/bin}" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/kestrova-soak-XXXXXX)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${sim:-}" ] && kill "$sim" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
rss() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }

# Copies, so a rebuild meanwhile does not touch the running programs.
cp "$bin"/kestrova "$bin"/kestrova-sim "$bin"/Kestrova.ini "$bin"/Ant-GND-Win32.bmp \
  "$bin"/Ant-AIR-Win32.bmp "$work"/
"$work"/kestrova-sim --link "$work/pty" --duration "$seconds" --faults --fault-every 3 \
  --seed "${SOAK_SEED:-1}" > "$work/sim.log" 2>&1 &
sim=$!
for _ in $(seq 100); do [ -e "$work/pty" ] && break; sleep 0.05; done
"$here"/point-port.sh "$work" "$work/pty"
QT_QPA_PLATFORM=offscreen "$work"/kestrova > "$work/app.log" 2>&1 &
app=$!
sleep 10
start_rss=$(rss "$app")
status=0
wait "$sim" || status=$?
sim=
if kill -0 "$app" 2>/dev/null; then alive=yes; end_rss=$(rss "$app"); else alive=no; end_rss=-; fi
echo "soak: ${seconds} s; resident memory ${start_rss} kB after 10 s, ${end_rss} kB at the end; program alive: $alive"
tail -1 "$work/sim.log"
[ "$alive" = yes ] || exit 1
exit $status
