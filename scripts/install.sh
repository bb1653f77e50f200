#!/usr/bin/env bash
# The main job: installs the dependencies, builds the plug-in in Release,
# installs the VST3 bundle into ~/.vst3 and the LV2 bundle into ~/.lv2, and
# proves that the installed bundles load and process audio in a real host.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
scripts/build.sh Palimpsester_VST3 Palimpsester_LV2 Palimpsester_Standalone palimpsester-probe

build_dir=${PALIMPSESTER_BUILD_DIR:-build}
artefacts="$build_dir/Palimpsester_artefacts/Release"

install_bundle() {
  local bundle=$1 target_dir=$2
  mkdir -p "$target_dir"
  rm -rf "${target_dir:?}/$(basename "$bundle")"
  cp -R "$bundle" "$target_dir/"
  echo "Installed $(basename "$bundle") into $target_dir"
}

install_bundle "$artefacts/VST3/Palimpsester.vst3" "$HOME/.vst3"
install_bundle "$artefacts/LV2/Palimpsester.lv2" "$HOME/.lv2"
echo "Standalone application: $artefacts/Standalone/Palimpsester"

# The probe's instances keep their data folder in a temporary folder, so that
# proving the installation leaves nothing in the user's folders.
probe_data=$(mktemp -d)
trap 'rm -rf "$probe_data"' EXIT
PALIMPSESTER_DATA_ROOT="$probe_data" "$build_dir/tools/probe/palimpsester-probe"
