#!/usr/bin/env bash
# Builds and runs the processing benchmarks (Release).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh palimpsester_bench

build_dir=${PALIMPSESTER_BUILD_DIR:-build}
"$build_dir/bench/palimpsester_bench" "$@"
