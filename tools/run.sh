#!/usr/bin/env bash
# Builds Kestrova and the processor simulator, points port 1 at the simulator and starts the
# program. Without a display it runs headless for about ten seconds and writes a screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh

cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target kestrova kestrova-sim

link="$PWD/build/kestrova-sim.pty"
duration=3600
headless=1
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then headless=0; fi
if [ $headless = 1 ]; then duration=14; fi

build/bin/kestrova-sim --link "$link" --duration "$duration" > build/kestrova-sim.log 2>&1 &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
tools/point-port.sh build/bin "$link"

if [ $headless = 0 ]; then
  build/bin/kestrova
  exit 0
fi

shot="$PWD/build/kestrova-screenshot.png"
xvfb-run -a -s "-screen 0 640x320x24" bash -c '
  build/bin/kestrova & pid=$!
  sleep 10
  import -window root "'"$shot"'"
  kill $pid; wait $pid 2>/dev/null || true
'
echo "Screenshot: $shot"
