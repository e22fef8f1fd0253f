#!/usr/bin/env bash
# Installs what is missing, builds Renvika with its tests and runs every test;
# then does the same with AddressSanitizer and UndefinedBehaviorSanitizer in
# build-asan/ (RENVIKA_SKIP_SANITIZERS=1 skips that second stage).
# Usage: scripts/test.sh            (from anywhere; builds in build/)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
build="${RENVIKA_BUILD_DIR:-$root/build}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo ${RENVIKA_CMAKE_ARGS:-}
cmake --build "$build" --parallel "$(nproc)"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure --parallel "$(nproc)"

[ "${RENVIKA_SKIP_SANITIZERS:-0}" = 1 ] && exit 0
echo "== the same tests built with AddressSanitizer and UndefinedBehaviorSanitizer"
asan="${RENVIKA_ASAN_BUILD_DIR:-$root/build-asan}"
cmake -S "$root" -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DRENVIKA_SANITIZE=ON -DRENVIKA_BUILD_BENCHMARKS=OFF
cmake --build "$asan" --parallel "$(nproc)"
ASAN_OPTIONS=detect_leaks=1 \
LSAN_OPTIONS="suppressions=$root/tests/lsan.supp" \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir "$asan" --output-on-failure --parallel "$(nproc)"
