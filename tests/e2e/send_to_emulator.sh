#!/usr/bin/env bash
# End to end over a real MIDI system: tav-emulator runs as its own process, and
# songloader-cli send converts and sends generated songs to it in handshake and blind mode, and
# against a device that NAKs and one that cancels. The songs the emulator stores must equal the
# x10 files, byte for byte, and no x10 file may stay beside the songs.
#
#   send_to_emulator.sh SONGLOADER_CLI TAV_EMULATOR MAKE_EXAMPLE_SONGS
# Exit 77 (skipped) when no JACK server answers, except in CI, where that is a failure.
set -euo pipefail

cli="$1"
emulator="$2"
make_songs="$3"

if ! jack_lsp >/dev/null 2>&1; then
    if [ "${CI:-}" = "true" ]; then
        echo "no JACK server answers (run inside scripts/with-jack-server.sh)" >&2
        exit 1
    fi
    echo "skipped: no JACK server answers (run inside scripts/with-jack-server.sh)"
    exit 77
fi

work="$(mktemp -d)"
emulator_pid=""
cleanup() {
    if [ -n "$emulator_pid" ] && kill -0 "$emulator_pid" 2>/dev/null; then
        kill "$emulator_pid" 2>/dev/null || true
        wait "$emulator_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# The songs, and the x10 files they should become.
mkdir -p "$work/songs" "$work/expected"
"$make_songs" "$work/songs" >/dev/null
"$cli" convert "$work/songs"/*.mid >/dev/null
for x10 in "$work/songs"/*.midx10; do
    name="$(basename "$x10" .midx10)"
    mv "$x10" "$work/expected/$name.x10"
done
songs=("$work/songs"/*.mid)

start_emulator() {
    local store="$1"
    shift
    rm -rf "$store"
    mkdir -p "$store"
    "$emulator" --store "$store" "$@" >"$work/emulator.log" 2>&1 &
    emulator_pid=$!
    for _ in $(seq 1 100); do
        grep -q " ready: " "$work/emulator.log" && return 0
        kill -0 "$emulator_pid" 2>/dev/null || break
        sleep 0.1
    done
    cat "$work/emulator.log" >&2
    fail "tav-emulator did not start"
}

stop_emulator() {
    kill -INT "$emulator_pid"
    local status=0
    wait "$emulator_pid" || status=$?
    emulator_pid=""
    [ "$status" -eq 0 ] || fail "tav-emulator ended with status $status"
}

expect_stored_songs() {
    local store="$1"
    for expected in "$work/expected"/*.x10; do
        cmp "$expected" "$store/$(basename "$expected")" ||
            fail "$(basename "$expected") stored in $store differs from the x10 file"
    done
}

expect_no_x10_beside_songs() {
    if compgen -G "$work/songs/*.midx10" >/dev/null; then
        fail "x10 files were left beside the songs"
    fi
}

send() {
    "$cli" send --out "TAV Emulator" --in "TAV Emulator" --song-ms 50 "$@" "${songs[@]}" \
        >"$work/send.out" 2>"$work/send.err"
}

run_case() {
    local what="$1" expected_status="$2"
    shift 2
    local status=0
    send "$@" || status=$?
    if [ "$status" -ne "$expected_status" ]; then
        cat "$work/send.out" "$work/send.err" "$work/emulator.log" >&2
        fail "$what: send ended with status $status, not $expected_status"
    fi
    echo "ok: $what"
}

start_emulator "$work/store-handshake"
run_case "handshake" 0 --handshake --packet-ms 5
stop_emulator
expect_stored_songs "$work/store-handshake"
expect_no_x10_beside_songs

start_emulator "$work/store-blind"
run_case "blind" 0 --blind --packet-ms 25
stop_emulator
expect_stored_songs "$work/store-blind"
expect_no_x10_beside_songs

start_emulator "$work/store-nak" --nak-every 3
run_case "handshake with a NAK every third packet" 0 --handshake --packet-ms 5
stop_emulator
expect_stored_songs "$work/store-nak"
grep -q "resends [1-9]" "$work/emulator.log" || fail "the emulator saw no resend"

start_emulator "$work/store-cancel" --cancel-at 2 --reason 4
run_case "a device that cancels" 1 --handshake --packet-ms 5
stop_emulator
grep -qF "TAV has cancelled, please shut down your Orvik and restart" "$work/send.err" ||
    fail "the cancel message is missing: $(cat "$work/send.err")"
grep -qF "File Data checksum error." "$work/send.err" || fail "the cancel reason is missing"
expect_no_x10_beside_songs

echo "all end-to-end sends passed"
