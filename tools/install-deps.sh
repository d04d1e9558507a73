#!/usr/bin/env bash
# Installs what Kestrova needs on Debian 12. Skips apt when all is there.
#   tools/install-deps.sh          building and running (and the headless screenshot)
#   tools/install-deps.sh --test   that, and the test, fuzzing and benchmark tools
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qt6-base-dev qt6-serialport-dev libgl-dev libgeographiclib-dev
  libqt6sql6-sqlite
  xvfb xauth imagemagick fonts-dejavu-core
)
tests=0
case "${1:-}" in
  "") ;;
  --test) tests=1 ;;
  *) echo "usage: tools/install-deps.sh [--test]" >&2; exit 2 ;;
esac
if [ $tests = 1 ]; then
  packages+=(
    libgtest-dev libgmock-dev libbenchmark-dev
    clang libclang-rt-14-dev clang-format clang-tidy git locales
    desktop-file-utils dpkg-dev file gdal-bin python3
    ser2net socat
  )
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$p")
  fi
done

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A decimal-comma locale, so the number formatting is tested under one.
if [ $tests = 1 ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  $SUDO localedef -i de_DE -c -f UTF-8 -A /usr/share/locale/locale.alias de_DE.UTF-8 || true
fi
