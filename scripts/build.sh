#!/usr/bin/env bash
# Configures (once) and builds the given targets in Release into ./build.
# Usage: scripts/build.sh [target ...]   (no target: everything)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${PALIMPSESTER_BUILD_DIR:-build}
jobs=${PALIMPSESTER_JOBS:-$(nproc)}

generator=()
command -v ninja >/dev/null && generator=(-G Ninja)

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
  cmake -S . -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release
fi

if [ $# -eq 0 ]; then
  cmake --build "$build_dir" --parallel "$jobs"
else
  for target in "$@"; do
    cmake --build "$build_dir" --parallel "$jobs" --target "$target"
  done
fi
