#!/usr/bin/env bash
# Builds Reelmark (release) and starts it, optionally with a file to open.
# --simulated-devices (first argument) puts the simulated camera and data-card driver on the
# driver path, so the recording side can be tried without hardware.
set -euo pipefail
cd "$(dirname "$0")"

simulated=0
if [ "${1:-}" = "--simulated-devices" ]; then
  simulated=1
  shift
fi
source tools/setup.sh
rm_setup

cmake --preset release >/dev/null
cmake --build --preset release

rm_register_modules build/release

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
  echo "No display found. Run Reelmark under a virtual display instead:" >&2
  echo "  xvfb-run -a ./run.sh $*" >&2
  exit 1
fi

if [ "$simulated" = 1 ]; then
  export REELMARK_DRIVER_PATH="$PWD/build/release/devices/sim${REELMARK_DRIVER_PATH:+:$REELMARK_DRIVER_PATH}"
fi

exec build/release/app/reelmark "${@:-build/release/app/sample.raw}"
