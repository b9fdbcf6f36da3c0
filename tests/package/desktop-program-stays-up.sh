#!/usr/bin/env bash
# Run by the package test as its ordinary user, beside a private JACK server: starts the
# installed tav-emulator, then the installed songloader without a screen, checks that songloader
# is still up after SECONDS, and ends both (SIGTERM), whatever happens.
#
#   desktop-program-stays-up.sh SECONDS
set -euo pipefail

seconds="$1"
logs="$HOME/logs"
mkdir -p "$logs" "$HOME/received"
# Qt's runtime folder in the home too, so that removing the user removes everything.
export XDG_RUNTIME_DIR="$HOME/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"

songloader_pid=""
tav-emulator --store "$HOME/received" >"$logs/tav-emulator.log" 2>&1 &
emulator_pid=$!

stop_programs() {
    for pid in $songloader_pid $emulator_pid; do
        kill -TERM "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}
trap stop_programs EXIT
trap 'exit 130' INT TERM

for _ in $(seq 1 100); do
    if grep -q " ready: " "$logs/tav-emulator.log" || ! kill -0 "$emulator_pid" 2>/dev/null; then
        break
    fi
    sleep 0.1
done
if ! grep -q " ready: " "$logs/tav-emulator.log"; then
    echo "tav-emulator did not get ready; its output:" >&2
    cat "$logs/tav-emulator.log" >&2
    exit 1
fi

QT_QPA_PLATFORM=offscreen songloader >"$logs/songloader.log" 2>&1 &
songloader_pid=$!
sleep "$seconds"
if ! kill -0 "$songloader_pid" 2>/dev/null; then
    status=0
    wait "$songloader_pid" || status=$?
    songloader_pid=""
    echo "songloader ended by itself (status $status) within $seconds s; its output:" >&2
    cat "$logs/songloader.log" >&2
    exit 1
fi
echo "songloader stayed up for $seconds s beside $(grep -m 1 " ready: " "$logs/tav-emulator.log")"
