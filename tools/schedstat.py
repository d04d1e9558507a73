#!/usr/bin/env python3
# What a process costs over SECONDS, summed over all its threads from the scheduler's own
# counts: CPU in ms per second (nanoseconds on a CPU, exact) and wake-ups a second (times a
# thread was put on a CPU). Also the CPU from /proc/PID/stat (utime + stime) for comparison.
# Prints one line of JSON. Usage: tools/schedstat.py PID SECONDS
import json, os, sys, time

def sample(pid):
    ns = runs = 0
    for tid in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{tid}/schedstat") as f:
                on_cpu, _, slices = (int(x) for x in f.read().split())
        except (FileNotFoundError, ProcessLookupError):
            continue  # a thread that ended meanwhile
        ns += on_cpu
        runs += slices
    with open(f"/proc/{pid}/stat") as f:
        fields = f.read().rsplit(")", 1)[1].split()
    ticks = int(fields[11]) + int(fields[12])  # utime, stime
    return ns, runs, ticks, time.monotonic()

pid, seconds = int(sys.argv[1]), float(sys.argv[2])
ns0, runs0, ticks0, t0 = sample(pid)
time.sleep(seconds)
ns1, runs1, ticks1, t1 = sample(pid)
elapsed = t1 - t0
hz = os.sysconf("SC_CLK_TCK")
print(json.dumps({
    "seconds": round(elapsed, 3),
    "cpu_ms_per_s": (ns1 - ns0) / 1e6 / elapsed,
    "wakeups_per_s": (runs1 - runs0) / elapsed,
    "stat_ms_per_s": (ticks1 - ticks0) * 1000 / hz / elapsed,
    "cpu_ms": (ns1 - ns0) / 1e6,
    "wakeups": runs1 - runs0,
    "stat_ms": (ticks1 - ticks0) * 1000 / hz,
    "threads": len(os.listdir(f"/proc/{pid}/task")),
}))
