#!/usr/bin/env bash
# Installs what is needed, builds SongLoader and runs its main job: the bundled example songs
# are made and converted into the device's x10 song files.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release

songs=build/release/example-songs
build/release/examples/make-example-songs "$songs" >/dev/null
echo
echo "Converting the example songs in $songs:"
build/release/src/cli/songloader-cli convert "$songs"/*.mid
