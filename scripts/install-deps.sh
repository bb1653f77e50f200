#!/usr/bin/env bash
# Installs everything the build, the tests and the benchmarks need, from Debian's
# packages only; with --sanitizers also what scripts/sanitize.sh needs.
# Idempotent: when every package is present it returns at once.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  juce-modules-source lv2-dev lilv-utils liblilv-dev
  libasound2-dev libfreetype-dev libfontconfig1-dev libx11-dev libxext-dev
  libxinerama-dev libxrandr-dev libxcursor-dev libgl-dev libcurl4-gnutls-dev
  libflac-dev libvorbis-dev libogg-dev
  libgtest-dev googletest libbenchmark-dev
  xvfb xauth
)

# The sanitizer and fuzzing builds (scripts/sanitize.sh) use clang, its
# sanitizer runtimes and libFuzzer, and llvm-symbolizer for their reports.
if [ "${1:-}" = "--sanitizers" ]; then
  packages+=(clang libclang-rt-dev llvm)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
