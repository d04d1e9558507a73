#!/usr/bin/env bash
# The program reaches the simulator through a real ser2net, raw (tcp://) or with serial port
# control (rfc2217://), and the simulator judges the answers. Under serial port control the
# device reads 19200 baud once the program has connected (ser2net's own setting is 9600).
# With "restart", ser2net is killed mid-stream and started again: the program must stay idle
# while it is down and connect again by itself.
# Usage: tools/e2e-ser2net.sh BIN_DIR raw|rfc2217|restart SECONDS [SIM FLAGS...]
# Exit status 77 (skipped) without ser2net.
set -euo pipefail
bin=$(cd "$1" && pwd) mode=$2 seconds=$3
shift 3
. "$(dirname "$0")/sim-session.sh"
s2n=$(command -v ser2net || echo /usr/sbin/ser2net)
[ -x "$s2n" ] || { echo "no ser2net"; exit 77; }

session_open kestrova-ser2net
session_sim --duration "$seconds" "$@"
port=$(free_port)
scheme=rfc2217 accepter="telnet(rfc2217),tcp(nodelay),127.0.0.1,$port"
if [ "$mode" = raw ]; then scheme=tcp accepter="tcp(nodelay),127.0.0.1,$port"; fi
cat > "$work/ser2net.yaml" <<YAML
connection: &sim
    accepter: $accepter
    connector: serialdev,$work/pty,9600n81,local
    options:
      chardelay: false
YAML

start_ser2net() {
  "$s2n" -n -u -c "$work/ser2net.yaml" >> "$work/ser2net.log" 2>&1 &
  server=$!
  helpers="${helpers:-} $server"
  for _ in $(seq 100); do listening "$port" && return; sleep 0.05; done
  echo "ser2net does not listen on $port"; cat "$work/ser2net.log"; exit 1
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }

start_ser2net
SESSION_PORT="$scheme://127.0.0.1:$port" session_app
sleep 3
speed=$(stty -F "$work/pty" speed)
echo "the device behind ser2net reads $speed baud"
if [ "$mode" != raw ] && [ "$speed" != 19200 ]; then echo "not set to 19200 baud"; exit 1; fi

if [ "$mode" = restart ]; then
  kill "$server"; wait "$server" 2>/dev/null || true
  before=$(cpu_ticks "$app")
  sleep 3
  after=$(cpu_ticks "$app")
  hz=$(getconf CLK_TCK)
  echo "CPU while ser2net was down: $((after - before)) ticks of 1/$hz s in 3 s"
  if [ $((after - before)) -gt "$hz" ]; then echo "busy while ser2net was down"; exit 1; fi
  start_ser2net
fi

session_verdict
session_app_alive || { echo "the program died"; cat "$work/app.log"; exit 1; }
grep -v XDG_RUNTIME "$work/app.log" || true
exit $status
