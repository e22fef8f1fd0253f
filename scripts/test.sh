#!/usr/bin/env bash
# Installs what is missing, builds Renvika with its tests and runs every test.
# Usage: scripts/test.sh            (from anywhere; builds in build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build="${RENVIKA_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${RENVIKA_CMAKE_ARGS:-}
cmake --build "$build" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"
