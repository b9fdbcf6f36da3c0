#!/usr/bin/env bash
# End to end over JACK: the pacings of songloader-cli send against a tav-emulator behind an
# emulated MIDI cable (31250 baud), each case against a JACK server and an emulator of its own.
# Every case logs how long it took.
#
#   paced_sends.sh CASE SONGLOADER_CLI TAV_EMULATOR MAKE_EXAMPLE_SONGS WITH_JACK_SERVER
#
#   acknowledged         each packet sent as soon as the one before is acknowledged: the song
#                        is stored intact
#   blind-small-buffer   a blind send into a 100-byte buffer, smaller than one data packet, so
#                        bytes of every packet are lost: send fails with the device's reason
#                        and never says the song was sent
#   blind-1024-buffer    a blind send at 25 ms through a 1024-byte buffer: three steps a packet
#                        never get ahead of the cable, and the song is stored intact
#
# Exit 77 (skipped) when no JACK server can be started, except in CI, where that is a failure.
set -euo pipefail

case_name="$1"
cli="$2"
emulator="$3"
make_songs="$4"
with_jack_server="$5"

# shellcheck source=emulator_session.sh
source "$(dirname "$0")/emulator_session.sh"

# The x10 file of the example etude, as the device stores it.
expected_etude() {
    "$cli" convert "$songs/etude.mid" >/dev/null
    mkdir -p "$work/expected"
    mv "$songs/etude.midx10" "$work/expected/etude.x10"
    echo "$work/expected/etude.x10"
}

mkdir -p "$work/songs"
"$make_songs" "$work/songs" >/dev/null
songs="$work/songs"
started=$(date +%s%N)

case "$case_name" in
    acknowledged)
        expected="$(expected_etude)"
        start_emulator --wire-baud 31250
        send --ack-paced "$songs/etude.mid"
        stop_emulator
        expect_status 0
        cmp "$expected" "$work/store/etude.x10" || fail "etude is not stored as sent"
        grep -qF "at MIDI cable speed" "$work/send.out" || fail "the estimate does not say its basis"
        ;;
    blind-small-buffer)
        start_emulator --wire-baud 31250 --wire-buffer 100
        send --blind "$songs/etude.mid"
        stop_emulator
        expect_status 1
        grep -qF "$songs/etude.mid: " "$work/send.err" || fail "send did not name the song"
        grep -qE "the device's reason: |the device ended the file" "$work/send.err" ||
            fail "send did not give the device's reason"
        ! grep -q "^sent " "$work/send.out" || fail "send said a song was sent"
        [ ! -f "$work/store/etude.x10" ] || fail "the device stored a song it lost bytes of"
        ;;
    blind-1024-buffer)
        expected="$(expected_etude)"
        start_emulator --wire-baud 31250 --wire-buffer 1024
        send --blind --packet-ms 25 "$songs/etude.mid"
        stop_emulator
        expect_status 0
        cmp "$expected" "$work/store/etude.x10" || fail "etude is not stored as sent"
        grep -q "wire lost" "$work/emulator.log" && fail "the wire lost bytes"
        ;;
    *)
        echo "unknown case '$case_name'" >&2
        exit 2
        ;;
esac

echo "ok: $case_name in $((($(date +%s%N) - started) / 1000000)) ms"
