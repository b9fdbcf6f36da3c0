# Sourced by the end-to-end scripts that run songloader-cli send against a tav-emulator on a
# JACK server of their own. Each such script takes the same arguments:
#
#   SCRIPT CASE SONGLOADER_CLI TAV_EMULATOR MAKE_EXAMPLE_SONGS WITH_JACK_SERVER
#
# and gets them as case_name, cli, emulator, make_songs and with_jack_server, a work folder that
# is removed at exit, and helpers that start and stop the emulator, send, and fail with the logs.
case_name="$1"
cli="$2"
emulator="$3"
# shellcheck disable=SC2034 # for the scripts that make example songs
make_songs="$4"
with_jack_server="$5"

# The sourcing script runs again inside a JACK server of its own (started by the script at
# $with_jack_server), before anything is made. Exit 77 (skipped) when jackd is missing, except
# in CI, where that is a failure.
if [ -z "${E2E_PRIVATE_SERVER:-}" ]; then
    if ! command -v jackd >/dev/null; then
        [ "${CI:-}" = "true" ] && { echo "jackd is missing" >&2; exit 1; }
        echo "skipped: jackd is missing"
        exit 77
    fi
    E2E_PRIVATE_SERVER=1 exec "$with_jack_server" bash "$0" "$@"
fi

work="$(mktemp -d)"
emulator_pid=""
cleanup() {
    if [ -n "$emulator_pid" ] && kill -0 "$emulator_pid" 2>/dev/null; then
        kill "$emulator_pid" 2>/dev/null || true
        kill -CONT "$emulator_pid" 2>/dev/null || true # a stopped one ends only once continued
        wait "$emulator_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $case_name: $*" >&2
    for log in "$work/send.out" "$work/send.err" "$work/emulator.log"; do
        [ -f "$log" ] && { echo "--- $(basename "$log")" >&2; cat "$log" >&2; }
    done
    exit 1
}

# Starts the emulator with the given options, storing into $work/store, and returns once it
# says it is ready.
start_emulator() {
    rm -rf "$work/store"
    mkdir -p "$work/store"
    "$emulator" --store "$work/store" "$@" >"$work/emulator.log" 2>&1 &
    emulator_pid=$!
    for _ in $(seq 1 100); do
        grep -q " ready: " "$work/emulator.log" && return 0
        kill -0 "$emulator_pid" 2>/dev/null || break
        sleep 0.1
    done
    fail "tav-emulator did not start"
}

stop_emulator() {
    kill -INT "$emulator_pid"
    local status=0
    wait "$emulator_pid" || status=$?
    emulator_pid=""
    [ "$status" -eq 0 ] || fail "tav-emulator ended with status $status"
}

# The emulator's ports, as send is to name them.
emulator_ports=(--out "TAV Emulator" --in "TAV Emulator")

# Runs send with the given options and songs; sets send_status.
send() {
    send_status=0
    "$cli" send "${emulator_ports[@]}" "$@" >"$work/send.out" 2>"$work/send.err" ||
        send_status=$?
}

expect_status() {
    [ "$send_status" -eq "$1" ] || fail "send ended with status $send_status, not $1"
}

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

# A format-0 song of N notes, one tick apart: its x10 file grows with N (6 bytes a note).
make_song() {
    local file="$1" notes="$2"
    local length=$((notes * 4 + 4))
    {
        printf 'MThd\x00\x00\x00\x06\x00\x00\x00\x01\x00\x60MTrk'
        printf "\\x$(printf %02x $((length >> 24 & 255)))\\x$(printf %02x $((length >> 16 & 255)))"
        printf "\\x$(printf %02x $((length >> 8 & 255)))\\x$(printf %02x $((length & 255)))"
        printf '\x01\x90\x3c\x40%.0s' $(seq 1 "$notes")
        printf '\x00\xff\x2f\x00'
    } >"$file"
}

