#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh

build_dir=${PALIMPSESTER_BUILD_DIR:-build}
ctest --test-dir "$build_dir" --output-on-failure
