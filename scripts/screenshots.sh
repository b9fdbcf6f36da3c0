#!/usr/bin/env bash
# Takes a PNG of every window of the desktop program without a screen (Qt's offscreen
# platform): the main window with songs in its list, the progress dialog halfway through a
# transfer to the emulated device, and the device, options, about and monitor windows.
#
#   scripts/screenshots.sh [FOLDER]      (default: docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."

folder="${1:-docs/screenshots}"
scripts/install-deps.sh
cmake --preset debug >/dev/null
cmake --build --preset debug --target ui_screenshots
# Run from a folder of its own, so that nothing a transfer writes lands in the tree.
folder="$(realpath -m "$folder")"
program="$PWD/build/debug/tests/ui/ui_screenshots"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
(cd "$scratch" && QT_QPA_PLATFORM=offscreen "$program" "$folder" 2>/dev/null)
