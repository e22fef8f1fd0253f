#!/usr/bin/env bash
# Installs what is missing, builds Renvika and starts the editor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build="${RENVIKA_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" --parallel "$(nproc)" --target renvika
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found (DISPLAY and WAYLAND_DISPLAY are empty); built $build/editor/renvika." >&2
  echo "Start it from a desktop session, or under Xvfb: xvfb-run -s '-screen 0 1280x1024x24' $build/editor/renvika" >&2
  exit 1
fi
exec "$build/editor/renvika"
