#!/usr/bin/env bash
# Regenerates the pictures the README shows, into docs/:
#   docs/toolkit.png   every widget of the toolkit (palimpsester-gallery)
# They are drawn by the real code in a window on a virtual display (Xvfb).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh palimpsester-gallery

build_dir=${PALIMPSESTER_BUILD_DIR:-build}
mkdir -p docs
xvfb-run -a "$build_dir/tools/gallery/palimpsester-gallery" --png docs/toolkit.png
