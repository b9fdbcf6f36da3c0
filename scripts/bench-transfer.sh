#!/usr/bin/env bash
# Measures whole transfers of a 100 KB song over a private JACK server to tav-emulator, blind
# and with handshakes, at 25 ms between steps (a few minutes). Builds the release preset first.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target transfer_bench tav-emulator
store="$(mktemp -d)"
trap 'rm -rf "$store"' EXIT
scripts/with-jack-server.sh scripts/with-emulator.sh build/release/src/emulator/tav-emulator \
    "$store" build/release/bench/transfer_bench "$@"
