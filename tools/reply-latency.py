#!/usr/bin/env python3
# Plays a processor that only sends status lines, on a pseudo-terminal of its own linked at
# PATH, and times each answer: from the moment the line's last byte is written to the moment
# its CR LF arrives. Waits for the first stay-alive NUL (a display has the line open), then
# sends COUNT lines at random moments. Prints one line of JSON with the times in ms.
# Usage: tools/reply-latency.py PATH COUNT
import json, os, pty, random, select, statistics, sys, time

# Both are answered CR LF; they alternate so that the display has something to redraw.
LINES = [b"AFM/S,IF 25,AIR,LCL,HIGH,01,HNT,BRT,REL\r\n", b"AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BAT,REL\r\n"]

link, count = sys.argv[1], int(sys.argv[2])
master, slave = pty.openpty()  # the slave stays open, so reading never fails while no one has it
try:
    os.unlink(link)
except FileNotFoundError:
    pass
os.symlink(os.ttyname(slave), link)

def wait_for(pattern, deadline):
    """Reads until `pattern` has arrived (NULs aside); returns the time it did, or None."""
    seen = b""
    while True:
        left = deadline - time.monotonic()
        if left <= 0:
            return None
        if not select.select([master], [], [], left)[0]:
            return None
        now = time.monotonic()
        seen += os.read(master, 4096).replace(b"\0", b"")
        if pattern in seen:
            return now

try:
    if wait_for(b"", time.monotonic() + 30) is None:
        sys.exit("reply-latency: no display opened the line")
    # Past the first NUL: let start-up settle.
    time.sleep(1)
    random.seed(1)
    times, missed = [], 0
    for i in range(count):
        time.sleep(random.uniform(0.02, 0.06))
        while select.select([master], [], [], 0)[0]:  # a late answer must not count for this line
            os.read(master, 4096)
        os.write(master, LINES[i % 2])
        sent = time.monotonic()
        got = wait_for(b"\r\n", sent + 0.5)
        if got is None:
            missed += 1
        else:
            times.append((got - sent) * 1000)
    times.sort()
    print(json.dumps({
        "samples": len(times),
        "missed": missed,
        "median_ms": statistics.median(times) if times else None,
        "p99_ms": times[int(len(times) * 0.99) - 1] if times else None,
        "max_ms": times[-1] if times else None,
    }))
finally:
    os.unlink(link)
