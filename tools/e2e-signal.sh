#!/usr/bin/env bash
# SIGTERM closes the program as closing its window does: it exits 0, and its recording of the
# line holds every byte the simulator put on the line, byte for byte, the last ones included.
# The simulator plays four seconds at the line's full rate, a pause, then a status line; the
# program is told to end as soon as it has acknowledged that line, which is then still
# waiting in memory to be written out. Usage: tools/e2e-signal.sh BIN_DIR
set -euo pipefail
bin=$(cd "$1" && pwd)
. "$(dirname "$0")/sim-session.sh"

# The bytes of a recording's records, one after another (no NUL among them).
recorded_bytes() {
  local LC_ALL=C ms count bytes
  {
    IFS= read -r _
    while IFS=' ' read -r ms count; do
      IFS= read -r -N "$count" bytes
      printf '%s' "$bytes"
      IFS= read -r _
    done
  } < "$1"
}

session_open kestrova-e2e-signal
# A recording of the program's own format, so that the simulator starts playing it when the
# program opens the line and every byte of it reaches the program.
status_line='AFM/S,IF 25,AIR,LCL,HIGH,02,HNT,BRT,REL'
{
  echo "KESTROVA-REC 1"
  for i in $(seq 0 399); do
    printf '%d 18\nB%04d%04dS%02d%03dP\r\n\n' $((i * 94 / 10)) $((2048 + i)) $((2048 - i)) \
      $((i % 100)) $((i % 360))
  done
  printf '%d %d\n%s\r\n\n' 5000 $((${#status_line} + 2)) "$status_line"
} > "$work/stream.rec"

session_sim --replay "$work/stream.rec" --record "$work/sent.cap" --verbose
session_app --record "$work/line.rec"
for _ in $(seq 1000); do
  grep -q ' ack$' "$sim_log" && break
  sleep 0.01
done
if ! grep -q ' ack$' "$sim_log"; then
  echo "the program never acknowledged the status line"
  cat "$work/app.log"
  exit 1
fi
kill -TERM "$app"
status=0
wait "$app" || status=$?
app=
if [ $status -ne 0 ] || ! grep -q "closing" "$work/app.log"; then
  echo "SIGTERM did not close the program cleanly: exit status $status"
  cat "$work/app.log"
  exit 1
fi
session_verdict  # the simulator writes out what it sent as it ends
recorded_bytes "$work/line.rec" > "$work/received"
if ! cmp "$work/sent.cap" "$work/received"; then
  echo "sent $(stat -c %s "$work/sent.cap") bytes, recorded $(stat -c %s "$work/received")"
  exit 1
fi
echo "SIGTERM closed the program; all $(stat -c %s "$work/received") bytes recorded"
