#!/usr/bin/env bash
# Sends batches of songs through tav-emulator's seeded fault storm for a while, on a JACK
# server of its own, and checks every promise of the sender after each batch (scripts/soak.py
# says which). Ends with one summary line; exit status 1 when a promise was broken.
#
#   scripts/soak.sh [--minutes M] [--seed S] [--rate P] [--build DIR]
#
# M defaults to 30, S to 1, P (the storm's share of messages) to 0.05, DIR to build/release.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
args=("$@")
if ! printf '%s\n' "$@" | grep -qx -- --build; then
    args+=(--build "$here/../build/release")
fi
exec "$here/with-jack-server.sh" python3 "$here/soak.py" "${args[@]}"
