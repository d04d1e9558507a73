#!/usr/bin/env bash
# One program owns the simulator's line and shares it; two more watch it (kestrova://), a
# third client never reads and a fourth floods the owner with bytes while reading. The
# simulator judges the answers on the line (the owner's alone: two NULs a second, one
# acknowledgement per status line), the watchers ride out the stream's pause on heartbeats,
# each watcher's recording of the line is the owner's byte for byte, the client that never
# reads is dropped and the other watchers keep up.
# Usage: tools/e2e-watch.sh BIN_DIR [SECONDS]
set -euo pipefail
bin=$(cd "$1" && pwd) seconds=${2:-26}
. "$(dirname "$0")/sim-session.sh"

session_open kestrova-watch
session_sim --duration "$seconds" --seed 11
port=$(free_port)
SESSION_ARGS="--share $port --record $work/owner.rec" session_app
for _ in $(seq 100); do listening "$port" && break; sleep 0.05; done
for w in w1 w2; do
  mkdir "$work/$w"
  cp "$work/Kestrova.ini" "$work/Kestrova.bak" "$work/$w/"
  QT_QPA_PLATFORM=offscreen "$work"/kestrova --settings "$work/$w" \
    --port "kestrova://127.0.0.1:$port" --record "$work/$w.rec" > "$work/$w.log" 2>&1 &
  helpers="${helpers:-} $!"
done
watchers=$helpers
python3 -c 'import socket, sys, time
s = socket.socket()
s.setsockopt(socket.SOL_SOCKET, socket.SO_RCVBUF, 2048)
s.connect(("127.0.0.1", int(sys.argv[1])))
time.sleep(600)' "$port" &
helpers="$helpers $!"
socat "OPEN:/dev/zero,rdonly!!OPEN:/dev/null,wronly" "TCP:127.0.0.1:$port" 2>/dev/null &
helpers="$helpers $!"

session_verdict
# Watchers first, so that everything they recorded is in the owner's recording too.
kill $watchers; sleep 1
kill "$app"; wait "$app" 2>/dev/null || true
app=
cat "$work/app.log" "$work/w1.log" | grep -v XDG_RUNTIME
dropped=$(grep -c "Watcher .* dropped: " "$work/app.log" || true)
[ "$dropped" = 1 ] || { echo "$dropped watchers dropped, not the one that never reads"; status=1; }
for w in w1 w2; do
  grep -q "watching 127.0.0.1:$port" "$work/$w.log" || { echo "$w: not watching"; status=1; }
  grep -q "Serial port" "$work/$w.log" && { echo "$w: lost the owner"; status=1; }
done
python3 - "$work/owner.rec" "$work/w1.rec" "$work/w2.rec" <<'PY' || status=1
import sys

def line(path):
    """The bytes of a recording's records, in order."""
    data = open(path, "rb").read()
    at, out = data.index(b"\n") + 1, []
    while at < len(data):
        head = data.index(b"\n", at)
        count = int(data[at:head].split(b" ")[1])
        out.append(data[head + 1:head + 1 + count])
        at = head + 2 + count
    return b"".join(out)

owner = line(sys.argv[1])
for path in sys.argv[2:]:
    seen = line(path)
    start = owner.find(seen[:512])
    same = len(seen) > 20000 and start >= 0 and owner[start:start + len(seen)] == seen
    print(f"{path.rsplit('/', 1)[1]}: {len(seen)} bytes, the owner's from byte {start} of "
          f"{len(owner)}: {'the same' if same else 'DIFFERENT'}")
    if not same:
        sys.exit(1)
PY
exit $status
