#!/usr/bin/env bash
# Builds Reelmark (release) and starts it, optionally with a file to open.
set -euo pipefail
cd "$(dirname "$0")"
source tools/setup.sh
rm_setup

cmake --preset release >/dev/null
cmake --build --preset release

# Register the run-time modules that were built.
for module in build/release/lutcontrol/libLevora.so; do
  if [ -f "$module" ] && [ -x build/release/platform/com/regsvr ]; then
    build/release/platform/com/regsvr "$module"
  fi
done

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
  echo "No display found. Run Reelmark under a virtual display instead:" >&2
  echo "  xvfb-run -a ./run.sh $*" >&2
  exit 1
fi

exec build/release/app/reelmark "${@:-build/release/app/sample.raw}"
