#!/usr/bin/env bash
# End to end over JACK: a send cut short. When its MIDI system or device goes away in the
# middle, it ends with a failure that says so; when the user sends a signal, it ends with the
# signal's status. Either way it removes its x10 files and never hangs. Each case runs against
# a JACK server and a tav-emulator of its own, and logs how long the send took to end (the
# limit here is 10 s; bench/ measures the 2 s target of a lost system).
#
#   send_cut_short.sh CASE SONGLOADER_CLI TAV_EMULATOR MAKE_EXAMPLE_SONGS WITH_JACK_SERVER
#
#   server-killed-blind      the JACK server is killed (SIGKILL) during a blind send
#   server-stopped-handshake the JACK server is stopped (SIGTERM) during a send with handshakes
#   emulator-killed          the emulator is killed (SIGKILL) during a send with handshakes
#   interrupted              SIGINT, SIGTERM and SIGHUP while a silent device is awaited
#   server-stopped-blind     the JACK server is stopped (SIGSTOP) during a blind send: nothing
#                            more leaves the program, so the send must not report the song sent
#   emulator-stopped         SIGINT while the emulator is stopped (SIGSTOP) during a send with
#                            handshakes: its JACK client holds up the server's graph
#   server-stopped-at-start  the JACK server is stopped (SIGSTOP) before the send starts: the
#                            send's first client never gets an answer; once the server is
#                            continued it takes new clients again
#   x10-file-kept            an x10 file beside the song, there before the send, stays as it was
#   work-file-made-fifo      the send's work file of its second song becomes a FIFO while the
#                            first is sent: refused with the reason, nothing hangs
set -euo pipefail

# shellcheck source=emulator_session.sh
source "$(dirname "$0")/emulator_session.sh"
# The send's x10 work files go to the user's cache folder: here, where the checks see them.
export XDG_CACHE_HOME="$work/cache"

send_pid=""
stop_send() {
    # A stopped server or emulator ends only once continued.
    kill -CONT "$SONGLOADER_JACKD_PID" ${emulator_pid:+"$emulator_pid"} 2>/dev/null || true
    if [ -n "$send_pid" ] && kill -0 "$send_pid" 2>/dev/null; then
        kill -KILL "$send_pid" 2>/dev/null || true
    fi
    cleanup
}
trap stop_send EXIT

# A server killed with SIGKILL keeps its slot in JACK's shared registry until a server of the
# same name starts again: start one and stop it cleanly.
free_server_slot() {
    jackd -n "$JACK_DEFAULT_SERVER" --no-realtime -d dummy -r 48000 -p 256 >/dev/null 2>&1 &
    local pid=$!
    for _ in $(seq 1 100); do
        jack_lsp -s "$JACK_DEFAULT_SERVER" >/dev/null 2>&1 && break
        sleep 0.1
    done
    kill -TERM "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# Starts a send of a long song and returns once its data is on the way: its ports open after
# its first line, in well under 1.5 s even under a sanitizer. (Polling JACK for the connection
# would start clients of its own, whose arrival makes the dummy server skip cycles.)
start_long_send() {
    # Started straight from this shell, so that a signal sent to $send_pid reaches it.
    "$cli" send "${emulator_ports[@]}" "$@" "$work/songs/long.mid" \
        >"$work/send.out" 2>"$work/send.err" &
    send_pid=$!
    for _ in $(seq 1 200); do
        grep -q "^sending $work/songs/long.mid" "$work/send.out" && { sleep 1.5; return 0; }
        kill -0 "$send_pid" 2>/dev/null || fail "send ended before the loss"
        sleep 0.05
    done
    fail "send did not start"
}

# Waits up to 10 s for the send to end after EVENT at LOST_AT; sets send_status.
wait_for_send_end() {
    local event="$1" lost_at="$2"
    for _ in $(seq 1 100); do
        kill -0 "$send_pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$send_pid" 2>/dev/null && fail "send still runs 10 s after the $event"
    send_status=0
    wait "$send_pid" || send_status=$?
    send_pid=""
    send_ended_ms=$((($(date +%s%N) - lost_at) / 1000000))
    echo "send ended $send_ended_ms ms after the $event, status $send_status"
    sed 's/^/  /' "$work/send.err"
    # The device's own store aside, no x10 or work file may stay.
    left="$(find "$work" -path "$work/store" -prune -o \( -name '*x10' -o -name '*.part' \) -print)"
    [ -z "$left" ] || fail "x10 files were left behind: $left"
}

# The send must fail and say that the MIDI system or device went away.
expect_send_failed_after_loss() {
    wait_for_send_end loss "$1"
    [ "$send_status" -ne 0 ] || fail "send reported success"
    grep -q "went away" "$work/send.err" || fail "the message does not say what went away"
}

mkdir -p "$work/songs"
make_song "$work/songs/long.mid" 20000 # about 1000 data packets
if [ "$case_name" = interrupted ]; then
    start_emulator --blind # never replies: the send waits for its time-out
else
    start_emulator
fi

case "$case_name" in
    server-killed-blind)
        start_long_send --blind --packet-ms 25
        lost_at=$(date +%s%N)
        kill -KILL "$SONGLOADER_JACKD_PID"
        expect_send_failed_after_loss "$lost_at"
        free_server_slot
        ;;
    server-stopped-handshake)
        start_long_send --handshake --packet-ms 5
        lost_at=$(date +%s%N)
        kill -TERM "$SONGLOADER_JACKD_PID"
        expect_send_failed_after_loss "$lost_at"
        ;;
    emulator-killed)
        start_long_send --handshake --packet-ms 5
        lost_at=$(date +%s%N)
        kill -KILL "$emulator_pid"
        wait "$emulator_pid" 2>/dev/null || true
        emulator_pid=""
        expect_send_failed_after_loss "$lost_at"
        ;;
    interrupted)
        for signal in INT TERM HUP; do
            start_long_send --handshake --timeout 100000
            signalled_at=$(date +%s%N)
            kill "-$signal" "$send_pid"
            wait_for_send_end "SIG$signal" "$signalled_at"
            expect_status $((128 + $(kill -l "$signal")))
            grep -q "interrupted" "$work/send.err" || fail "the send does not say it was interrupted"
        done
        ;;
    server-stopped-blind)
        start_long_send --blind --packet-ms 25
        stopped_at=$(date +%s%N)
        kill -STOP "$SONGLOADER_JACKD_PID"
        wait_for_send_end "server's stop" "$stopped_at"
        kill -CONT "$SONGLOADER_JACKD_PID"
        expect_status 1
        grep -q "The MIDI output device failed" "$work/send.err" ||
            fail "the message does not say that the output failed"
        ;;
    emulator-stopped)
        start_long_send --handshake --packet-ms 5
        kill -STOP "$emulator_pid"
        sleep 1 # the server now waits on the stopped client at every change of its graph
        signalled_at=$(date +%s%N)
        kill -INT "$send_pid"
        wait_for_send_end "SIGINT" "$signalled_at"
        kill -CONT "$emulator_pid"
        expect_status 130
        [ "$send_ended_ms" -lt 4000 ] || fail "the send took $send_ended_ms ms to end after SIGINT"
        ;;
    server-stopped-at-start)
        kill -STOP "$SONGLOADER_JACKD_PID"
        stopped_at=$(date +%s%N)
        "$cli" send "${emulator_ports[@]}" --handshake "$work/songs/long.mid" \
            >"$work/send.out" 2>"$work/send.err" &
        send_pid=$!
        wait_for_send_end "server's stop" "$stopped_at"
        kill -CONT "$SONGLOADER_JACKD_PID"
        expect_status 1
        grep -q "does not answer" "$work/send.err" || fail "the send does not say the server is mute"
        timeout 10 jack_lsp >/dev/null 2>&1 || fail "the server takes no new client afterwards"
        ;;
    x10-file-kept)
        make_song "$work/songs/a.mid" 300
        "$cli" convert "$work/songs/a.mid" >/dev/null
        cp "$work/songs/a.midx10" "$work/before.x10"
        send --handshake --packet-ms 5 "$work/songs/a.mid"
        expect_status 0
        cmp -s "$work/songs/a.midx10" "$work/before.x10" || fail "the x10 file there before changed"
        for _ in $(seq 1 50); do
            [ -f "$work/store/a.x10" ] && break
            sleep 0.1
        done
        cmp -s "$work/store/a.x10" "$work/before.x10" || fail "the device got other bytes"
        ! find "$work/cache" -type f | grep -q . || fail "a work file was left"
        ;;
    work-file-made-fifo)
        make_song "$work/songs/first.mid" 3000 # about 150 data packets
        make_song "$work/songs/second.mid" 10
        "$cli" send "${emulator_ports[@]}" --handshake --packet-ms 5 "$work/songs/first.mid" \
            "$work/songs/second.mid" >"$work/send.out" 2>"$work/send.err" &
        send_pid=$!
        for _ in $(seq 1 200); do
            grep -q "^sending $work/songs/first.mid" "$work/send.out" && break
            sleep 0.05
        done
        work_file="$(find "$work/cache" -name 'second.*.x10')"
        [ -n "$work_file" ] || fail "no work file of the second song in $work/cache"
        rm "$work_file"
        mkfifo "$work_file"
        made_at=$(date +%s%N)
        wait_for_send_end "FIFO" "$made_at"
        expect_status 1
        grep -qF "$work_file (the file is a FIFO, not a regular file)" "$work/send.err" ||
            fail "the message does not say that the work file is a FIFO"
        grep -q "^sent $work/songs/first.mid" "$work/send.out" || fail "the first song was not sent"
        ;;
    *)
        echo "unknown case '$case_name'" >&2
        exit 2
        ;;
esac
echo "ok: $case_name"
