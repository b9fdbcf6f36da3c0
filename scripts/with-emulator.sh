#!/usr/bin/env bash
# Runs a command while the device emulator runs: starts tav-emulator (storing the songs it
# receives in STORE), waits until its MIDI ports are up, shows its lines on the terminal as
# they come, runs the command, and stops the emulator when the command ends, whatever its
# outcome. The command's status is returned. TAV_EMULATOR_OPTIONS, split at blanks, are given
# to the emulator as well ("--wire-baud 31250").
#
#   scripts/with-emulator.sh TAV_EMULATOR STORE COMMAND [ARGUMENT]...
set -euo pipefail

if [ $# -lt 3 ]; then
    echo "usage: $0 TAV_EMULATOR STORE COMMAND [ARGUMENT]..." >&2
    exit 2
fi
emulator="$1"
store="$2"
shift 2
# shellcheck source=background.sh
source "$(dirname "$0")/background.sh"

mkdir -p "$store"
log="$(mktemp -t tav-emulator.XXXXXX)"
read -r -a emulator_options <<<"${TAV_EMULATOR_OPTIONS:-}"
"$emulator" --store "$store" "${emulator_options[@]}" >"$log" 2>&1 &
emulator_pid=$!
tail_pid=""

stop_emulator() {
    stop_process "$emulator_pid"
    # Its last lines (songs cut short when it was stopped) are still worth showing.
    sleep 0.2
    if [ -n "$tail_pid" ]; then
        kill "$tail_pid" 2>/dev/null || true
        wait "$tail_pid" 2>/dev/null || true
    fi
    rm -f "$log"
}
trap stop_emulator EXIT
trap 'exit 130' INT TERM

if ! wait_until_ready "$emulator_pid" 100 grep -q " ready: " "$log"; then
    echo "$0: the device emulator did not start; its output:" >&2
    cat "$log" >&2
    exit 1
fi
tail -n +1 -f "$log" | sed -u 's/^/[tav-emulator] /' &
tail_pid=$!

status=0
"$@" || status=$?
exit "$status"
