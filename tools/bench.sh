#!/usr/bin/env bash
# Measures Kestrova and prints a table: the receive path, the worst poll tick, one gauge
# repaint, the whole program at full line rate under Xvfb, idle CPU, and start-up time.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --test
command -v perf >/dev/null || echo 'bench: perf not installed (linux-perf); CPU shares come from tick accounting'
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-bench -j"$(nproc)" --target kestrova kestrova-sim kestrova_bench kestrova_qbench >/dev/null
bin=$PWD/build-bench/bin
here=$PWD/tools

json=$(mktemp)
"$bin"/kestrova_bench --benchmark_format=json --benchmark_min_time=1 2>/dev/null > "$json"
QT_QPA_PLATFORM=offscreen "$bin"/kestrova_qbench --benchmark_format=json 2>/dev/null > "$json.q"

field() { # file benchmark-name key
  python3 -c 'import json,sys
d=json.load(open(sys.argv[1]))
for b in d["benchmarks"]:
    if b["name"].startswith(sys.argv[2]):
        print(b[sys.argv[3]]); break' "$@"
}

work=$(mktemp -d /tmp/kestrova-bench-XXXXXX)
trap 'kill ${sim:-} ${app:-} 2>/dev/null || true; rm -rf "$work" "$json" "$json.q"' EXIT
cp "$bin"/kestrova "$bin"/Ant-GND-Win32.bmp "$bin"/Ant-AIR-Win32.bmp "$work"/
cp "$bin"/../share/kestrova/Kestrova.ini "$work"/Kestrova.ini
cp "$bin"/../share/kestrova/Kestrova.ini "$work"/Kestrova.bak
hz=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# Percent of one core used by PID over SECONDS. perf's task clock is exact; the kernel's tick
# accounting, the fallback, overcounts a process that wakes on the timer interrupt.
cpu_pct() {
  local pid=$1 seconds=$2 ms a b
  if ms=$(perf stat -x, -e task-clock -p "$pid" -- sleep "$seconds" 2>&1 >/dev/null |
          awk -F, '/task-clock/ {print $1}') && [ -n "$ms" ]; then
    python3 -c "print(round($ms / ($seconds * 10), 2))"
  else
    a=$(ticks "$pid"); sleep "$seconds"; b=$(ticks "$pid")
    python3 -c "print(round(100 * ($b - $a) / $hz / $seconds, 2))"
  fi
}
rss() { awk '/VmRSS/ {print $2}' "/proc/$1/status"; }

# Everything below runs under one Xvfb server.
export DISPLAY=:97
Xvfb :97 -screen 0 800x400x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill ${sim:-} ${app:-} ${idle:-} $xvfb 2>/dev/null || true; rm -rf "$work" "$json" "$json.q"' EXIT
sleep 1

# Start-up and idle on a line that stays silent.
"$here"/idle-pty.py "$work/idle-pty" 120 &
idle=$!
for _ in $(seq 100); do [ -e "$work/idle-pty" ] && break; sleep 0.05; done

# Start-up: from launch to the window's first paint, best of five.
best=999999
for _ in 1 2 3 4 5; do
  t0=$(date +%s.%N)
  KESTROVA_STARTUP_TIMING=1 "$work"/kestrova --port "$work/idle-pty" 2> "$work/start.log" &
  app=$!
  for _ in $(seq 200); do grep -q 'first paint' "$work/start.log" 2>/dev/null && break; sleep 0.02; done
  t1=$(sed -n 's/.*first paint at //p' "$work/start.log")
  ms=$(python3 -c "print(round(($t1 - $t0) * 1000))")
  [ "$ms" -lt "$best" ] && best=$ms
  kill $app; wait $app 2>/dev/null || true
done
startup_ms=$best

# Idle: the window with no data for 20 s.
"$work"/kestrova --port "$work/idle-pty" 2>/dev/null &
app=$!
sleep 3
idle_pct=$(cpu_pct $app 20)
kill $app $idle; wait $app 2>/dev/null || true

# Full line rate from the simulator for 30 s, measured over the last 20.
"$bin"/kestrova-sim --link "$work/pty" --duration 40 --no-pauses > "$work/sim.log" 2>&1 &
sim=$!
for _ in $(seq 100); do [ -e "$work/pty" ] && break; sleep 0.05; done
"$work"/kestrova --port "$work/pty" 2>/dev/null &
app=$!
sleep 10
line_pct=$(cpu_pct $app 20)
line_rss=$(( $(rss $app) / 1024 ))
wait $sim || true
sim=
kill $app; wait $app 2>/dev/null || true

rate=$(field "$json" BM_ReceivePathMix items_per_second)
worst=$(field "$json" BM_WorstPollTick worst_us)
p9999=$(field "$json" BM_WorstPollTick p9999_us)
needle=$(field "$json" BM_PacketLineToNeedle cpu_time)
gauge=$(field "$json.q" BM_GaugeRepaint cpu_time)
gauge_unit=$(field "$json.q" BM_GaugeRepaint time_unit)

printf '| Measure | Figure | Target |\n|---|---|---|\n'
printf '| Receive path, realistic mix | %s packets/s | >= 2,000,000 |\n' "$(python3 -c "print(f'{$rate:,.0f}')")"
printf '| One bearing packet, line to needle value | %.0f ns | <= 1 us |\n' "$needle"
printf '| Worst poll tick (99.99th percentile) | %.1f us (%.1f us) | < 50 us of a 2 ms tick |\n' "$worst" "$p9999"
printf '| One gauge repaint after a needle move | %.1f %s | < 0.3 ms |\n' "$gauge" "$gauge_unit"
printf '| Program at full line rate under Xvfb | %s %% of a core, %s MB resident | < 3 %%, < 60 MB |\n' "$line_pct" "$line_rss"
printf '| Program idle, no data | %s %% of a core | < 1 %% |\n' "$idle_pct"
printf '| Launch to shown window | %s ms | < 300 ms |\n' "$startup_ms"
tail -1 "$work/sim.log" | sed 's/^/simulator: /'
