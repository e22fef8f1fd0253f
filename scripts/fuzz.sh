#!/usr/bin/env bash
# Builds the libFuzzer targets with clang 14 and runs them.
# Usage: scripts/fuzz.sh [--no-build] [--merge] [SECONDS] [TARGET...]
#   SECONDS   how long each target runs, one after the other (default 60)
#   TARGET    fuzz_blocks, fuzz_render, fuzz_commandfile, fuzz_settings (default all)
#   --no-build  use the programs already built (e.g. for a second run beside a first)
#   --merge   add the corpus inputs that reach new code to tests/fuzz-regressions/
#             instead of fuzzing
# The build and the growing corpus live in build-fuzz/ (RENVIKA_FUZZ_BUILD_DIR),
# outside version control; crashes land in build-fuzz/artifacts/<target>/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${RENVIKA_FUZZ_BUILD_DIR:-$root/build-fuzz}"

do_build=1 merge=0 seconds=60 targets=()
for arg in "$@"; do
  case "$arg" in
    --no-build) do_build=0 ;;
    --merge) merge=1 ;;
    ''|*[!0-9]*) targets+=("$arg") ;;
    *) seconds=$arg ;;
  esac
done
[ ${#targets[@]} -eq 0 ] && targets=(fuzz_blocks fuzz_render fuzz_commandfile fuzz_settings)

if [ "$do_build" = 1 ]; then
  "$root/scripts/install-deps.sh" clang-14 libclang-rt-14-dev
  CC=clang-14 CXX=clang++-14 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DRENVIKA_FUZZ=ON -DRENVIKA_BUILD_BENCHMARKS=OFF
  cmake --build "$build" --parallel 2 --target "${targets[@]}"
fi

export QT_QPA_PLATFORM=offscreen
export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

for target in "${targets[@]}"; do
  regressions="$root/tests/fuzz-regressions/$target"
  corpus="$build/corpus/$target"
  mkdir -p "$corpus" "$build/artifacts/$target" "$regressions"
  case "$target" in
    fuzz_blocks|fuzz_render) cp -n "$root/assets/initial-document.txt" "$corpus/initial-document" ;;
  esac
  case "$target" in
    fuzz_settings) max_len=512 ;;
    fuzz_commandfile) max_len=4096 ;;
    *) max_len=8192 ;;
  esac
  flags=(-timeout=10 -artifact_prefix="$build/artifacts/$target/" -dict="$root/fuzz/$target.dict")
  if [ "$merge" = 1 ]; then
    echo "== merging the corpus of $target into $regressions"
    # Edges only, not hit counts: one kept input per newly reached edge
    # keeps the set small.
    "$build/fuzz/$target" "${flags[@]}" -merge=1 -use_counters=0 "$regressions" "$corpus"
  else
    echo "== $target for $seconds s"
    "$build/fuzz/$target" "${flags[@]}" -max_len="$max_len" -max_total_time="$seconds" -print_final_stats=1 \
      "$corpus" "$regressions"
  fi
done
