#!/usr/bin/env bash
# End to end over JACK: songloader-cli send against a tav-emulator that acts out faults, each
# case against a JACK server and an emulator of its own. Every case logs how long it took.
#
#   emulator_faults.sh CASE SONGLOADER_CLI TAV_EMULATOR MAKE_EXAMPLE_SONGS WITH_JACK_SERVER
#
#   chaos-handshake  a seeded fault storm: the song is stored intact and sent, or send fails
#                    naming it; the device never stores it damaged
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

# The x10 file a song becomes, in DIR, named as the device stores it.
expected_x10() {
    local song="$1" dir="$2"
    local name
    name="$(basename "$song" .mid)"
    "$cli" convert "$song" >/dev/null
    mkdir -p "$dir"
    mv "${song}x10" "$dir/$name.x10"
    echo "$dir/$name.x10"
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
    *)
        echo "unknown case '$case_name'" >&2
        exit 2
        ;;
esac

echo "ok: $case_name in $((($(date +%s%N) - started) / 1000000)) ms"
