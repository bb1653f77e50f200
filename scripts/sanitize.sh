#!/usr/bin/env bash
# The sanitizer and fuzzing runs, each in a build folder of its own:
#   build-asan  clang with AddressSanitizer and UndefinedBehaviorSanitizer:
#               the unit, host and LV2 tests, and the fuzz targets, each
#               fuzzed for a bounded time from its committed seed corpus
#   build-tsan  ThreadSanitizer: the concurrency tests
# Only what each run needs is built. Usage: scripts/sanitize.sh [seconds per fuzz target]
set -euo pipefail
cd "$(dirname "$0")/.."

fuzz_seconds=${1:-${PALIMPSESTER_FUZZ_SECONDS:-60}}
jobs=${PALIMPSESTER_JOBS:-$(nproc)}

scripts/install-deps.sh --sanitizers

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

configure() {
  local dir=$1; shift
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$dir" "${generator[@]}" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
      -DPALIMPSESTER_BUILD_BENCHMARKS=OFF "$@"
  fi
}

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1:strict_string_checks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0}
export TSAN_OPTIONS=${TSAN_OPTIONS:-suppressions=$PWD/tests/sanitizers/tsan.supp:halt_on_error=1:second_deadlock_stack=1}

echo "== AddressSanitizer and UndefinedBehaviorSanitizer"
configure build-asan -DPALIMPSESTER_SANITIZER=address -DPALIMPSESTER_FUZZERS=ON
cmake --build build-asan --parallel "$jobs" --target \
  palimpsester_unit_tests palimpsester_host_tests palimpsester_concurrency_tests palimpsester_lv2_announcement_check \
  palimpsester_gui_tests palimpsester-gallery \
  palimpsester_fuzz_StateDocument palimpsester_fuzz_PresetFile palimpsester_fuzz_FactoryTable
ctest --test-dir build-asan --output-on-failure

echo "== Fuzzing, ${fuzz_seconds} s per target"
for target in StateDocument PresetFile FactoryTable; do
  seeds=tests/fuzz/corpus/$target
  found=$(mktemp -d)
  # New inputs go to a temporary folder; the committed seeds stay as they are.
  build-asan/tests/palimpsester_fuzz_$target "$found" "$seeds" \
    -max_total_time="$fuzz_seconds" -max_len=8192 -rss_limit_mb=2048 \
    -artifact_prefix="build-asan/fuzz-$target-" -print_final_stats=1 2>&1 | tail -n 12
  rm -rf "$found"
done

echo "== ThreadSanitizer"
configure build-tsan -DPALIMPSESTER_SANITIZER=thread
cmake --build build-tsan --parallel "$jobs" --target palimpsester_concurrency_tests
ctest --test-dir build-tsan --output-on-failure -R Concurrency
