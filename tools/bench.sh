#!/usr/bin/env bash
# Measures Kestrova and prints tables: the receive path, the worst poll tick, one gauge
# repaint and start-up time; then the whole program under Xvfb against a bare Qt program that
# reads the same kind of serial line every 2 ms, measured in the same run: wake-ups a second
# and CPU, idle on a silent line and at full line rate, and the time it takes to answer a
# status line. Kestrova also runs a third time with its map window open on test tiles, beside
# the others, so that what the map costs at line rate shows against the figure without it.
#
# The three programs (Kestrova on virtual ticks, Kestrova with PollTimer=1, the bare program)
# run side by side, each on a line of its own, so that whatever else the machine does falls
# on all three alike; only their ratios are compared. Each is counted from the scheduler's
# own figures for all its threads (/proc/PID/task/*/schedstat: time on a CPU, exact to the
# nanosecond, and the number of times it was put on a CPU, its wake-ups).
#
# Environment: BENCH_SECONDS (each measurement, default 20), BENCH_ROUNDS (default 3),
# BENCH_SAMPLES (answers timed in each mode, default 300), BENCH_QUICK=1 (skip the
# micro-benchmarks and start-up).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/install-deps.sh --test
seconds=${BENCH_SECONDS:-20} rounds=${BENCH_ROUNDS:-3} samples=${BENCH_SAMPLES:-300}
settle=5

launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build-bench -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF "${launcher[@]}" >/dev/null
cmake --build build-bench -j2 --target kestrova kestrova-sim kestrova_bare_poll \
  kestrova_bench kestrova_qbench >/dev/null
bin=$PWD/build-bench/bin
here=$PWD/tools

work=$(mktemp -d /tmp/kestrova-bench-XXXXXX)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT
# Stops the programs and lines of one measurement, programs first: a line that vanishes under
# a program makes it report a lost device.
stop_all() {
  local p
  for p in "$@"; do kill "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  pids=("$xvfb")
}
wait_for() { for _ in $(seq 200); do [ -e "$1" ] && return; sleep 0.05; done; }

if [ -z "${BENCH_QUICK:-}" ]; then
  "$bin"/kestrova_bench --benchmark_format=json --benchmark_min_time=1 2>/dev/null > "$work/bench.json"
  QT_QPA_PLATFORM=offscreen "$bin"/kestrova_qbench --benchmark_format=json 2>/dev/null > "$work/qbench.json"
fi

# A program folder for each mode; copies, so a rebuild meanwhile does not touch them.
for mode in ticks poll map; do
  mkdir "$work/$mode"
  cp "$bin"/kestrova "$bin"/Ant-GND-Win32.bmp "$bin"/Ant-AIR-Win32.bmp "$work/$mode"/
  # The defaults as installed, not the developer's own settings beside the build.
  cp "$bin"/../share/kestrova/Kestrova.ini "$work/$mode/Kestrova.ini.default"
done
cp "$bin"/kestrova-sim "$bin"/kestrova_bare_poll "$work"/
# Tiles where the simulator's vehicle drives, for the map window.
python3 "$here"/make-test-tiles.py --folder "$work/tiles" --around 52.37 4.89 --radius-km 20 \
  --zooms 8-12 >/dev/null

# The settings are written afresh for every run; the device is given with --port, so no
# device named by an earlier run (by now perhaps someone else's terminal) is ever opened.
settings() { # MODE
  local folder=$work/$1
  cp "$folder/Kestrova.ini.default" "$folder/Kestrova.ini"
  if [ "$1" = poll ]; then
    printf 'PollTimer=1\r\n' >> "$folder/Kestrova.ini"
  fi
  cp "$folder/Kestrova.ini" "$folder/Kestrova.bak"
}
# Starts PROGRAM on DEVICE, its messages to $program_log if set; its pid is $started.
start_program() { # PROGRAM DEVICE [ENV...]
  local prog=$1 dev=$2
  shift 2
  if [ "$prog" = bare ]; then
    env "$@" "$work"/kestrova_bare_poll "$dev" 2>"${program_log:-/dev/null}" &
  else
    settings "$prog"
    local map=()
    [ "$prog" = map ] && map=(--map --map-tiles "$work/tiles")
    env "$@" "$work/$prog"/kestrova --port "$dev" "${map[@]}" 2>"${program_log:-/dev/null}" &
  fi
  started=$!
  pids+=("$started")
}

# Everything below runs under one Xvfb server, on a display number it picks itself.
# No reset when the last client leaves: the programs of a measurement all close at once, and
# a server resetting under four clients going away has been seen to die.
Xvfb -noreset -displayfd 3 -screen 0 1024x768x24 3> "$work/display" >/dev/null 2>&1 &
xvfb=$!
pids=("$xvfb")
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(cat "$work/display")

# Start-up: from launch to the window's first paint, best of five.
startup_ms=
if [ -z "${BENCH_QUICK:-}" ]; then
  "$here"/idle-pty.py "$work/start-pty" 120 &
  feeder=$!
  pids+=("$feeder")
  wait_for "$work/start-pty"
  best=999999
  for _ in 1 2 3 4 5; do
    t0=$(date +%s.%N)
    program_log=$work/start.log start_program ticks "$work/start-pty" KESTROVA_STARTUP_TIMING=1
    app=$started
    for _ in $(seq 200); do grep -q 'first paint' "$work/start.log" 2>/dev/null && break; sleep 0.02; done
    kill "$app"; wait "$app" 2>/dev/null || true
    t1=$(sed -n 's/.*first paint at //p' "$work/start.log")
    ms=$(python3 -c "print(round(($t1 - $t0) * 1000))")
    [ "$ms" -lt "$best" ] && best=$ms
  done
  startup_ms=$best
  stop_all "$feeder"
fi

# The three programs side by side on lines of their own, idle or at full line rate.
programs=(ticks poll map bare)
for round in $(seq "$rounds"); do
  for kind in idle line; do
    feeders=() apps=() counters=()
    for prog in "${programs[@]}"; do
      dev=$work/line-$prog
      # The last measurement's link names a terminal that is gone, or by now another's: it
      # must not be there for the wait below to find before the new one is made.
      rm -f "$dev"
      if [ "$kind" = idle ]; then
        "$here"/idle-pty.py "$dev" $((settle + seconds + 30)) &
      else
        # Ends 2 s after the measurement and judges the answers it had.
        "$work"/kestrova-sim --link "$dev" --duration $((settle + seconds + 2)) --no-pauses \
          > "$work/sim-$prog-$round.log" 2>&1 &
      fi
      feeders+=($!)
      pids+=($!)
      wait_for "$dev"
    done
    for prog in "${programs[@]}"; do
      start_program "$prog" "$work/line-$prog"
      apps+=("$started")
    done
    sleep "$settle"
    rss=()
    for i in "${!programs[@]}"; do
      "$here"/schedstat.py "${apps[$i]}" "$seconds" > "$work/$kind-${programs[$i]}-$round.json" &
      counters+=($!)
      # While the line still runs: the bare program ends with its line, soon after the count.
      rss+=("$(awk '/VmRSS/ {print $2}' "/proc/${apps[$i]}/status")")
    done
    wait "${counters[@]}"
    for i in "${!programs[@]}"; do
      echo "{\"program\": \"${programs[$i]}\", \"kind\": \"$kind\", \"round\": $round," \
        "\"rss_kb\": ${rss[$i]}, \"figures\": $(cat "$work/$kind-${programs[$i]}-$round.json")}" \
        >> "$work/results.jsonl"
    done
    if [ "$kind" = line ]; then
      for f in "${feeders[@]}"; do wait "$f" || true; done
    fi
    stop_all "${apps[@]}" "${feeders[@]}"
  done
done

# Reply latency, each mode alone: a test process sends status lines on a terminal of its own
# and times the answers.
for prog in ticks poll; do
  dev=$work/latency-$prog
  "$here"/reply-latency.py "$dev" "$samples" > "$work/latency-$prog.json" &
  feeder=$!
  pids+=("$feeder")
  wait_for "$dev"
  start_program "$prog" "$dev"
  wait "$feeder" || true
  stop_all "$started"
done

python3 - "$work" "$seconds" "$rounds" "$startup_ms" <<'EOF'
import json, os, sys
work, seconds, rounds, startup = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
runs = [json.loads(l) for l in open(os.path.join(work, "results.jsonl"))]

def pick(prog, kind):
    return [r["figures"] for r in runs if r["program"] == prog and r["kind"] == kind]

def rate(prog, kind, key):
    rs = pick(prog, kind)
    return sum(r[key] for r in rs) / sum(r["seconds"] for r in rs)

def ratios(prog, kind):
    out = []
    for n in range(1, rounds + 1):
        f = {r["program"]: r["figures"] for r in runs if r["kind"] == kind and r["round"] == n}
        out.append(f[prog]["cpu_ms"] / f[prog]["seconds"] / (f["bare"]["cpu_ms"] / f["bare"]["seconds"]))
    return out

def bench(name, key, file="bench.json"):
    path = os.path.join(work, file)
    if not os.path.exists(path):
        return None
    for b in json.load(open(path))["benchmarks"]:
        if b["name"].startswith(name):
            return b[key]

if bench("BM_ReceivePathMix", "items_per_second") is not None:
    print("| Measure | Figure | Target |\n|---|---|---|")
    print(f"| Receive path, realistic mix | {bench('BM_ReceivePathMix', 'items_per_second'):,.0f} packets/s | >= 2,000,000 |")
    print(f"| One bearing packet, line to needle value | {bench('BM_PacketLineToNeedle', 'cpu_time'):.0f} ns | <= 1 us |")
    print(f"| Worst poll tick (99.99th percentile) | {bench('BM_WorstPollTick', 'worst_us'):.1f} us "
          f"({bench('BM_WorstPollTick', 'p9999_us'):.1f} us) | < 50 us of a 2 ms tick |")
    print(f"| One gauge repaint after a needle move | {bench('BM_GaugeRepaint', 'cpu_time', 'qbench.json'):.1f} "
          f"{bench('BM_GaugeRepaint', 'time_unit', 'qbench.json')} | < 0.3 ms |")
    print(f"| Map repaint, 300 lines over tiles | {bench('BM_MapRepaintLinesOverTiles/300', 'cpu_time', 'qbench.json'):.1f} ms "
          f"(after a new bearing {bench('BM_MapRepaintAfterANewBearing', 'cpu_time', 'qbench.json'):.1f} ms, "
          f"3000 lines {bench('BM_MapRepaintLinesOverTiles/3000', 'cpu_time', 'qbench.json'):.0f} ms) | < 10 ms |")
    print(f"| Launch to shown window | {startup} ms | < 300 ms |")
    print()

names = {"ticks": "Kestrova, virtual ticks", "poll": "Kestrova, PollTimer=1",
         "map": "Kestrova, virtual ticks, map open", "bare": "bare Qt program, 2 ms poll"}
print(f"Side by side under one Xvfb server, {rounds} rounds of {seconds} s, all threads:\n")
print("| Program | Idle wake-ups/s | Idle CPU ms/s | Line-rate wake-ups/s | Line-rate CPU ms/s "
      "| CPU / bare, line rate | CPU / bare, idle |")
print("|---|---|---|---|---|---|---|")
for prog in ("ticks", "poll", "map", "bare"):
    line, idle = ratios(prog, "line"), ratios(prog, "idle")
    spread = lambda r: f"{sum(r) / len(r):.2f} ({min(r):.2f}-{max(r):.2f})"
    print(f"| {names[prog]} | {rate(prog, 'idle', 'wakeups'):.1f} | {rate(prog, 'idle', 'cpu_ms'):.2f} "
          f"| {rate(prog, 'line', 'wakeups'):.0f} | {rate(prog, 'line', 'cpu_ms'):.2f} "
          f"| {spread(line)} | {spread(idle)} |")
print("\nRatios: the mean of the rounds' ratios, their range in brackets.\n")
for prog in ("ticks", "poll"):
    lat = json.load(open(os.path.join(work, f"latency-{prog}.json")))
    print(f"Answer to a status line, {names[prog]}: median {lat['median_ms']:.2f} ms, "
          f"99th percentile {lat['p99_ms']:.2f} ms, worst {lat['max_ms']:.2f} ms "
          f"({lat['samples']} answers, {lat['missed']} missed)")
rss = max(r["rss_kb"] for r in runs if r["program"] == "ticks" and r["kind"] == "line")
print(f"Resident memory at line rate: {rss / 1024:.0f} MB")
stat = sum(r["figures"]["stat_ms"] for r in runs)
sched = sum(r["figures"]["cpu_ms"] for r in runs)
print(f"All CPU counted, by /proc/PID/stat (utime + stime, in ticks of 1/{os.sysconf('SC_CLK_TCK')} s): "
      f"{stat:.0f} ms; by schedstat: {sched:.0f} ms ({100 * (stat - sched) / sched:+.1f} %)")
EOF
for log in "$work"/sim-ticks-*.log "$work"/sim-poll-*.log "$work"/sim-map-*.log; do
  echo "simulator, $(basename "$log" .log | sed 's/^sim-//'): $(tail -1 "$log")"
done
