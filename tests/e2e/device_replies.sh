#!/usr/bin/env bash
# End to end over JACK: how songloader-cli send copes with the device's replies, each case
# against a JACK server and a tav-emulator of its own. Every case logs how long it took.
#
#   device_replies.sh CASE SONGLOADER_CLI TAV_EMULATOR MAKE_EXAMPLE_SONGS WITH_JACK_SERVER
#
#   blind-cancel-at-last-packet  a blind send hears a slow CANCEL of its last data packet
#   ack-eof-two-songs            a slow ACK of the end-of-file message is not the next header's
#   ack-eof-after-127-packets    the same when it bears the next header's number
#   wait-with-short-timeout      a WAIT gives the device more time than the time-out
#   first-send-after-start       a freshly started emulator takes the first song, 25 times
#   eof-before-the-end           a device that ends the file early (its EOF at the header or at
#                                a data packet) has not stored the song: send fails, says after
#                                which packet, and names the songs it never started
#
# Exit 77 (skipped) when no JACK server can be started, except in CI, where that is a failure.
set -euo pipefail

# shellcheck source=emulator_session.sh
source "$(dirname "$0")/emulator_session.sh"

expect_stored_intact() {
    local expected
    for expected in "$@"; do
        cmp "$expected" "$work/store/$(basename "$expected")" ||
            fail "$(basename "$expected") is not stored as sent"
    done
}

data_packets() {
    local size
    size="$(stat -c %s "$1")"
    echo $(((size + 111) / 112))
}

# Sends two songs to an emulator that acknowledges each end-of-file message late, once the next
# song has begun; both must be stored intact.
send_two_with_slow_eof_acks() {
    local first second
    first="$(expected_x10 "$1" "$work/expected")"
    second="$(expected_x10 "$2" "$work/expected")"
    start_emulator --ack-eof --reply-delay-ms 420
    send --handshake --packet-ms 5 --song-ms 50 "$1" "$2"
    stop_emulator
    expect_status 0
    expect_stored_intact "$first" "$second"
}

mkdir -p "$work/songs"
"$make_songs" "$work/songs" >/dev/null
songs="$work/songs"
started=$(date +%s%N)

case "$case_name" in
    blind-cancel-at-last-packet)
        last="$(data_packets "$(expected_x10 "$songs/chords.mid" "$work/expected")")"
        start_emulator --cancel-at "$last" --reason 4 --reply-delay-ms 150
        # The CANCEL comes 150 ms after the last data packet, after the end-of-file message.
        send --blind --packet-ms 25 --song-ms 400 "$songs/chords.mid"
        stop_emulator
        expect_status 1
        grep -qF "TAV has cancelled, please shut down your Orvik and restart" "$work/send.err" ||
            fail "the cancel message is missing"
        grep -qF "File Data checksum error." "$work/send.err" || fail "the cancel reason is missing"
        grep -qF "cancelled at data packet $last with reason 4" "$work/emulator.log" ||
            fail "the emulator did not cancel at data packet $last"
        ;;
    ack-eof-two-songs)
        send_two_with_slow_eof_acks "$songs/scale.mid" "$songs/chords.mid"
        ;;
    ack-eof-after-127-packets)
        make_song "$songs/long.mid" 2360  # 6 bytes of x10 file per note: 127 data packets
        [ "$(data_packets "$(expected_x10 "$songs/long.mid" "$work/expected")")" -eq 127 ] ||
            fail "the long song has no 127 data packets"
        send_two_with_slow_eof_acks "$songs/long.mid" "$songs/scale.mid"
        ;;
    wait-with-short-timeout)
        expected=()
        for song in "$songs"/*.mid; do
            expected+=("$(expected_x10 "$song" "$work/expected")")
        done
        # Six silent steps of 5 ms are far less than the 200 ms the device asks for.
        start_emulator --wait-at 2
        send --handshake --packet-ms 5 --timeout 6 "$songs"/*.mid
        stop_emulator
        expect_status 0
        expect_stored_intact "${expected[@]}"
        ;;
    first-send-after-start)
        # A send that starts as soon as the ports are listed; the listing clients come and go
        # while the emulator starts, as other programs' would.
        lost=0
        for run in $(seq 1 25); do
            rm -rf "$work/store"
            mkdir -p "$work/store"
            "$emulator" --store "$work/store" >"$work/emulator.log" 2>&1 &
            emulator_pid=$!
            until jack_lsp >"$work/ports" 2>/dev/null && grep -q "TAV Emulator" "$work/ports"; do
                kill -0 "$emulator_pid" 2>/dev/null || fail "tav-emulator did not start"
                sleep 0.005
            done
            send --handshake --timeout 200 "$songs/scale.mid"
            [ "$send_status" -eq 0 ] || { lost=$((lost + 1)); echo "run $run: the song was lost"; }
            stop_emulator
        done
        [ "$lost" -eq 0 ] || fail "$lost of 25 first songs were lost"
        ;;
    eof-before-the-end)
        packets="$(data_packets "$(expected_x10 "$songs/etude.mid" "$work/expected")")"
        for at in 0 3; do
            start_emulator --eof-at "$at"
            send --handshake --packet-ms 5 "$songs/etude.mid" "$songs/scale.mid" "$songs/chords.mid"
            stop_emulator
            expect_status 1
            if [ "$at" -eq 0 ]; then
                ended="at its header, before any of its $packets data packets"
            else
                ended="after packet $at of $packets"
            fi
            grep -qF "the device ended the file $ended" "$work/send.err" ||
                fail "the send does not say where the device ended the file ($ended)"
            grep -qF "not sent: $songs/scale.mid, $songs/chords.mid" "$work/send.err" ||
                fail "the songs never started are not named"
            ! grep -q "^sent " "$work/send.out" || fail "a song was reported sent"
            [ -z "$(ls "$work/store")" ] || fail "the device stored a song"
        done
        ;;
    *)
        echo "unknown case '$case_name'" >&2
        exit 2
        ;;
esac

echo "ok: $case_name in $((($(date +%s%N) - started) / 1000000)) ms"
