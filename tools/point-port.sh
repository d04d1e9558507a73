#!/usr/bin/env bash
# Points port 1 of a program folder's settings at DEVICE and selects port 1.
# Usage: tools/point-port.sh FOLDER DEVICE
set -euo pipefail
folder=$1 device=$2
ini="$folder/Kestrova.ini"
tmp="$ini.new"
grep -v -a -i '^PortDevice01=' "$ini" | sed -e 's/^RxCOMport=.*\r$/RxCOMport=1\r/' > "$tmp" || true
printf 'PortDevice01=%s\r\n' "$device" >> "$tmp"
mv "$tmp" "$ini"
cp "$ini" "$folder/Kestrova.bak"
