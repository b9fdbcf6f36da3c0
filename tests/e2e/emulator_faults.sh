#!/usr/bin/env bash
# End to end over JACK: songloader-cli send against a tav-emulator that acts out faults, each
# case against a JACK server and an emulator of its own. Every case logs how long it took.
#
#   emulator_faults.sh CASE SONGLOADER_CLI TAV_EMULATOR MAKE_EXAMPLE_SONGS WITH_JACK_SERVER
#
#   chaos-handshake  a seeded fault storm: the song is stored intact and sent, or send fails
#                    naming it; the device never stores it damaged
#   wire-31250       a MIDI cable's pace: the song is stored intact, and the send takes at least
#                    the time its bytes and the replies take on the wire
#   server-stopped   the JACK server is stopped (SIGSTOP) under a running emulator, which still
#                    ends when told, and before one starts, which gives up saying so; once
#                    continued, the server takes the emulator again
#
# Exit 77 (skipped) when no JACK server can be started, except in CI, where that is a failure.
set -euo pipefail

# shellcheck source=emulator_session.sh
source "$(dirname "$0")/emulator_session.sh"

# The bytes of the File Dump messages that carry the x10 file X10 under the song name NAME.
message_bytes() {
    local x10="$1" name="$2"
    local left total n
    left="$(stat -c %s "$x10")"
    total=$((15 + ${#name} + 6)) # the header and the end-of-file message
    while [ "$left" -gt 0 ]; do
        n=$((left < 112 ? left : 112))
        total=$((total + 9 + n + (n + 6) / 7))
        left=$((left - n))
    done
    echo "$total"
}

# The emulator's report line of the file NAME.
file_line() {
    grep -F "file \"$1\": " "$work/emulator.log" || fail "the emulator reported no file \"$1\""
}

mkdir -p "$work/songs"
"$make_songs" "$work/songs" >/dev/null
songs="$work/songs"
started=$(date +%s%N)

case "$case_name" in
    chaos-handshake)
        # The etude's 65 data packets give seed 1 room for faults: its first come at the 22nd
        # and the 44th message the device answers.
        expected="$(expected_x10 "$songs/etude.mid" "$work/expected")"
        start_emulator --chaos 1 --chaos-rate 0.05
        send --handshake --packet-ms 5 --timeout 40 "$songs/etude.mid"
        stop_emulator
        file_line etude | grep -qF "; faults: " || fail "the file line shows no faults"
        grep -q "^faults acted out: [1-9]" "$work/emulator.log" || fail "no faults acted out"
        stored="$work/store/etude.x10"
        if [ -f "$stored" ]; then
            cmp "$expected" "$stored" || fail "etude is stored damaged"
        fi
        # The sender's handling of an early EOF is not judged here: with one, only the store is.
        if ! file_line etude | grep -qF "ended with EOF"; then
            case "$send_status" in
                0) [ -f "$stored" ] || fail "send reported the song sent, but it was not stored" ;;
                1) cat "$work/send.out" "$work/send.err" | grep -qF "etude.mid" ||
                       fail "send failed without naming the song" ;;
                *) fail "send ended with status $send_status" ;;
            esac
        fi
        echo "send status $send_status; $(file_line etude)"
        ;;
    wire-31250)
        expected="$(expected_x10 "$songs/etude.mid" "$work/expected")"
        packets=$((($(stat -c %s "$expected") + 111) / 112))
        # Each message in, and its ACK (the header's and the data packets') out, 320 us a byte.
        wire_us=$((($(message_bytes "$expected" etude) + (packets + 1) * 6) * 320))
        start_emulator --wire-baud 31250
        sent_at=$(date +%s%N)
        send --handshake --packet-ms 5 "$songs/etude.mid"
        took_us=$((($(date +%s%N) - sent_at) / 1000))
        stop_emulator
        expect_status 0
        cmp "$expected" "$work/store/etude.x10" || fail "etude is not stored as sent"
        [ "$took_us" -ge "$wire_us" ] ||
            fail "the send took $took_us us, less than the $wire_us us its bytes take on the wire"
        echo "the send took $took_us us; its bytes take $wire_us us on the wire"
        ;;
    server-stopped)
        start_emulator
        kill -STOP "$SONGLOADER_JACKD_PID"
        status=0
        timeout 20 bash -c 'kill -INT "$1"; while kill -0 "$1" 2>/dev/null; do sleep 0.1; done' \
            _ "$emulator_pid" || status=$?
        emulator_pid=""
        [ "$status" -eq 0 ] || fail "tav-emulator did not end within 20 s of SIGINT"
        timeout 20 "$emulator" --store "$work/store" >"$work/emulator.log" 2>&1 || status=$?
        kill -CONT "$SONGLOADER_JACKD_PID"
        [ "$status" -eq 1 ] || fail "tav-emulator on a stopped server ended with status $status"
        grep -qF "the JACK server does not answer" "$work/emulator.log" ||
            fail "tav-emulator does not say the server is mute: $(cat "$work/emulator.log")"
        start_emulator
        stop_emulator
        ;;
    *)
        echo "unknown case '$case_name'" >&2
        exit 2
        ;;
esac

echo "ok: $case_name in $((($(date +%s%N) - started) / 1000000)) ms"
