#!/usr/bin/env bash
# Builds Kestrova and the processor simulator and starts both, the program on the simulator's
# terminal. Without a display it runs headless for about ten seconds and writes a screenshot.
# The demo keeps its settings in build/demo/, so build/bin/Kestrova.ini stays as it was.
#   tools/run.sh [--build-only]
set -euo pipefail
cd "$(dirname "$0")/.."
case "${1:-}" in
  "" | --build-only) ;;
  *) echo "usage: tools/run.sh [--build-only]" >&2; exit 2 ;;
esac
tools/install-deps.sh

# Only what running needs: the test and benchmark programs need tools/install-deps.sh --test.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF -DKESTROVA_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)" --target kestrova kestrova-sim
[ "${1:-}" = --build-only ] && exit 0

demo="$PWD/build/demo"
mkdir -p "$demo"
link="$PWD/build/kestrova-sim.pty"
duration=3600
headless=1
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then headless=0; fi
if [ $headless = 1 ]; then duration=14; fi

build/bin/kestrova-sim --link "$link" --duration "$duration" > build/kestrova-sim.log 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
app=(build/bin/kestrova --settings "$demo" --port "$link")

if [ $headless = 0 ]; then
  "${app[@]}"
  exit 0
fi

shot="$PWD/build/kestrova-screenshot.png"
xvfb-run -a -s "-screen 0 640x320x24" bash -c '
  "$@" & pid=$!
  sleep 10
  import -window root "'"$shot"'"
  kill $pid; wait $pid 2>/dev/null || true
' run "${app[@]}"
echo "Screenshot: $shot"
