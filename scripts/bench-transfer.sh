#!/usr/bin/env bash
# Measures whole transfers of a 100 KB song over a private JACK server to tav-emulator, for each
# pacing (blind at 25 ms, handshakes at 25 and at 5 ms, each packet once the one before is
# acknowledged), against the time a 31250-baud MIDI cable needs for every byte sent and received
# ("to_wire"): first with the emulator behind an emulated cable (--wire-baud 31250), then over
# JACK alone. The songs must be stored intact. A few minutes; builds the release preset first.
#
# The private server runs in real time where the system allows it, at a period of 64 frames at
# 48 kHz (1.3 ms), unless SONGLOADER_JACK_PERIOD says otherwise. A packet and its reply each
# cross JACK once, each at a period's boundary, so an acknowledged send pays about two periods a
# packet on top of the cable's 45.8 ms: about 6% at 64 frames, 23% at the 256 frames of the
# tests' servers. A real USB MIDI interface adds about a millisecond each way. Shorter periods
# lose cycles on a busy machine; a transfer that a lost cycle breaks is tried again (at most
# three times) and counted ("failed").
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target transfer_bench tav-emulator
store="$(mktemp -d)"
trap 'rm -rf "$store"' EXIT
export SONGLOADER_JACK_PERIOD="${SONGLOADER_JACK_PERIOD:-64}"
export SONGLOADER_JACK_REALTIME=1
export SONGLOADER_BENCH_STORE="$store"
for wire in "--wire-baud 31250" ""; do
    echo "== ${wire:-JACK alone}; JACK in real time, period $SONGLOADER_JACK_PERIOD frames at 48 kHz"
    TAV_EMULATOR_OPTIONS="$wire" scripts/with-jack-server.sh scripts/with-emulator.sh \
        build/release/src/emulator/tav-emulator "$store" build/release/bench/transfer_bench "$@"
done
