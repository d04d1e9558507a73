#!/usr/bin/env bash
# The processor's line vanishes mid-stream and comes back: the program must keep running
# without spinning, and reopen the port by itself so the second simulator is answered.
# Usage: tools/e2e-reconnect.sh BIN_DIR
set -euo pipefail
bin=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)

work=$(mktemp -d /tmp/kestrova-reconnect-XXXXXX)
cleanup() {
  [ -n "${app:-}" ] && kill "$app" 2>/dev/null || true
  [ -n "${sim:-}" ] && kill "$sim" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

cp "$bin"/kestrova "$bin"/Kestrova.ini "$bin"/Ant-GND-Win32.bmp "$bin"/Ant-AIR-Win32.bmp "$work"/
"$bin"/kestrova-sim --link "$work/pty" --duration 60 --no-pauses > "$work/sim1.log" 2>&1 &
sim=$!
for _ in $(seq 100); do [ -e "$work/pty" ] && break; sleep 0.05; done
"$here"/point-port.sh "$work" "$work/pty"
QT_QPA_PLATFORM=offscreen "$work"/kestrova > "$work/app.log" 2>&1 &
app=$!
sleep 4

kill "$sim"; wait "$sim" 2>/dev/null || true
sim=
before=$(cpu_ticks "$app")
sleep 3
after=$(cpu_ticks "$app")
hz=$(getconf CLK_TCK)
if ! kill -0 "$app" 2>/dev/null; then echo "the program died when the line vanished"; exit 1; fi
echo "CPU while the line was gone: $((after - before)) ticks of 1/$hz s in 3 s"
if [ $((after - before)) -gt "$hz" ]; then echo "busy while the line was gone"; exit 1; fi

"$bin"/kestrova-sim --link "$work/pty" --duration 12 --no-pauses > "$work/sim2.log" 2>&1 &
sim=$!
status=0
wait "$sim" || status=$?
sim=
tail -1 "$work/sim2.log"
kill -0 "$app" 2>/dev/null || { echo "the program died"; exit 1; }
exit $status
