#!/usr/bin/env bash
# Runs a command with a private JACK server of its own: the dummy driver (no sound hardware
# needed), no realtime scheduling, a server name unique to this run so that it never meets
# another server on the machine. Clients find it through JACK_DEFAULT_SERVER. The server is
# stopped when the command ends, whatever its outcome, and the command's status is returned.
# SONGLOADER_JACK_PERIOD sets the server's period in frames at 48 kHz (default 256: 5.3 ms);
# MIDI between clients crosses at the next period, so it bounds each hop's latency. With
# SONGLOADER_JACK_REALTIME=1 the server schedules its clients in real time where the system
# allows it: short periods then lose far fewer cycles (and with them MIDI) on a busy machine.
#
#   scripts/with-jack-server.sh COMMAND [ARGUMENT]...
set -euo pipefail

if [ $# -eq 0 ]; then
    echo "usage: $0 COMMAND [ARGUMENT]..." >&2
    exit 2
fi
# shellcheck source=background.sh
source "$(dirname "$0")/background.sh"

# Servers killed outright keep their places in JACK's registry, which holds only a few.
python3 "$(dirname "$0")/jack-free-stale-servers.py" || true

server="songloader-test-$$"
log="$(mktemp -t songloader-jackd.XXXXXX)"
realtime=--no-realtime
[ "${SONGLOADER_JACK_REALTIME:-0}" = 1 ] && realtime=--realtime
jackd -n "$server" "$realtime" -d dummy -r 48000 -p "${SONGLOADER_JACK_PERIOD:-256}" >"$log" 2>&1 &
jackd_pid=$!

stop_server() {
    stop_process "$jackd_pid"
    rm -f "$log"
    # Clients of a server that died never unlink their semaphores; only this server's go.
    rm -f /dev/shm/jack_sem.*_"${server}"_* 2>/dev/null || true
}
trap stop_server EXIT
trap 'exit 130' INT TERM

export JACK_DEFAULT_SERVER="$server"
# For tests that take the server away in the middle of their work.
export SONGLOADER_JACKD_PID="$jackd_pid"
# JACK must not start a server of its own when a client finds none.
export JACK_NO_START_SERVER=1

# Ready when jack_lsp gets an answer; give up after 20 s or when jackd has died.
if ! wait_until_ready "$jackd_pid" 200 jack_lsp -s "$server" >/dev/null 2>&1; then
    echo "$0: the JACK server '$server' did not start; its output:" >&2
    cat "$log" >&2
    exit 1
fi

status=0
"$@" || status=$?
exit "$status"
