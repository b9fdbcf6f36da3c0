#!/usr/bin/env bash
# songloader-cli as a hostile user meets it, one case per run: signals in the middle of its
# work, output files that are FIFOs, links, link loops or the song itself, x10 names taken by
# links, one song converted by several runs at once. Whatever happens, the user's files stay
# whole, nothing blocks, and no work file is left behind.
#
#   files_and_signals.sh CASE SONGLOADER_CLI
# (A send cut short by a signal is a case of send_cut_short.sh.)
set -euo pipefail

case_name="$1"
cli="$2"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
# The work files of export (and send) go to the user's cache folder: here, where they are seen.
export XDG_CACHE_HOME="$work/cache"

fail() {
    echo "FAILED: $case_name: $*" >&2
    exit 1
}

# A format-0 song of about 20 MB (or of N notes): long enough to convert that a signal finds it
# at work.
long_song() {
    python3 - "$1" "${2:-2000000}" <<'EOF'
import struct, sys
events = bytearray()
for i in range(int(sys.argv[2])):
    events += bytes([0x00, 0x90, 60 + i % 24, 100, 0x01, 0x80, 60 + i % 24, 0])
events += bytes([0x00, 0xFF, 0x2F, 0x00])
with open(sys.argv[1], "wb") as song:
    song.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, 480))
    song.write(b"MTrk" + struct.pack(">I", len(events)) + events)
EOF
}

small_song() {
    printf 'MThd\0\0\0\6\0\0\0\1\1\340MTrk\0\0\0\15\0\220\74\144\203\140\200\74\100\0\377\57\0' >"$1"
}

no_work_files() {
    if find "$work" -name '*x10' -o -name '*.part' | grep -q .; then
        find "$work" -name '*x10' -o -name '*.part' >&2
        fail "work files were left behind"
    fi
}

# Runs the command in the background, sends the signal after a short while, and checks the
# status the command ends with.
expect_status_after_signal() {
    local signal="$1" status_wanted="$2" delay="$3"
    shift 3
    "$@" >"$work/out" 2>"$work/err" &
    local pid=$!
    sleep "$delay"
    kill "-$signal" "$pid"
    local status=0
    wait "$pid" || status=$?
    [ "$status" -eq "$status_wanted" ] ||
        fail "ended with $status after SIG$signal, not $status_wanted: $(cat "$work/err")"
}

case "$case_name" in
    convert-interrupted)
        small_song "$work/first.mid"
        long_song "$work/long.mid"
        for signal in TERM HUP INT; do
            status=$((128 + $(kill -l "$signal")))
            expect_status_after_signal "$signal" "$status" 0.3 \
                "$cli" convert "$work/first.mid" "$work/long.mid"
            [ -f "$work/first.midx10" ] || fail "the finished x10 file of first.mid is gone"
            [ ! -e "$work/long.midx10" ] || fail "the x10 file in progress was left"
            ! find "$work" -name '*.part' | grep -q . || fail "the work file in progress was left"
            rm -f "$work/first.midx10"
        done
        ;;
    export-interrupted)
        long_song "$work/long.mid"
        expect_status_after_signal TERM 143 0.3 "$cli" export "$work/long.mid" -o "$work/out.syx"
        [ ! -e "$work/out.syx" ] || fail "a .syx file was written"
        no_work_files
        ;;
    outputs-that-are-no-files)
        small_song "$work/song.mid"
        mkfifo "$work/fifo.syx"
        mkdir -p "$work/folder.syx/inside"
        for target in "$work/fifo.syx" "$work/folder.syx"; do
            status=0
            timeout 20 "$cli" export "$work/song.mid" -o "$target" 2>"$work/err" || status=$?
            [ "$status" -eq 1 ] || fail "export to $target ended with $status, not 1"
            grep -qF "$target: not a regular file" "$work/err" || fail "$(cat "$work/err")"
        done
        [ -p "$work/fifo.syx" ] && [ -d "$work/folder.syx/inside" ] || fail "a target was touched"
        no_work_files
        ;;
    links)
        small_song "$work/song.mid"
        cp "$work/song.mid" "$work/original.mid"
        # A link at the x10 name must not lead the conversion into the song itself.
        ln -s song.mid "$work/song.midx10"
        "$cli" convert "$work/song.mid" >/dev/null
        cmp "$work/song.mid" "$work/original.mid" || fail "the song was written over"
        [ -f "$work/song.midx10" ] && [ ! -L "$work/song.midx10" ] || fail "no x10 file of its own"
        # A link as the output of an export is followed: the file it names is replaced.
        mkdir "$work/real"
        echo old >"$work/real/out.syx"
        ln -s real/out.syx "$work/out.syx"
        "$cli" export "$work/song.mid" -o "$work/out.syx" >/dev/null
        [ -L "$work/out.syx" ] || fail "the link was replaced"
        [ "$(head -c 1 "$work/real/out.syx" | od -An -tx1 | tr -d ' ')" = "f0" ] ||
            fail "the file the link names was not replaced"
        ;;
    output-is-the-song)
        # The song itself as the output, spelled as its path, a symbolic link and a hard link.
        small_song "$work/song.mid"
        cp "$work/song.mid" "$work/original.mid"
        ln -s song.mid "$work/link.mid"
        ln "$work/song.mid" "$work/hard.mid"
        for command in export merge; do
            for target in "$work/song.mid" "$work/link.mid" "$work/hard.mid"; do
                status=0
                "$cli" "$command" "$work/song.mid" -o "$target" >"$work/out" 2>"$work/err" ||
                    status=$?
                [ "$status" -eq 1 ] || fail "$command -o $target ended with $status, not 1"
                grep -qF "$target: is the song $work/song.mid itself" "$work/err" ||
                    fail "$(cat "$work/err")"
                cmp -s "$work/song.mid" "$work/original.mid" || fail "$command -o $target: song lost"
            done
        done
        [ -L "$work/link.mid" ] || fail "the link was replaced"
        no_work_files
        ;;
    converts-at-once)
        # Four runs of one song at once, three times over (their writes meet only now and
        # then): each has a work file of its own, all succeed, and the last rename leaves a
        # whole file.
        long_song "$work/song.mid" 200000
        "$cli" convert "$work/song.mid" >/dev/null
        mv "$work/song.midx10" "$work/alone.x10"
        for round in 1 2 3; do
            pids=()
            for i in 1 2 3 4; do
                "$cli" convert "$work/song.mid" >"$work/out$i" 2>"$work/err$i" &
                pids+=($!)
            done
            for i in 1 2 3 4; do
                wait "${pids[$((i - 1))]}" || fail "round $round, run $i: $(cat "$work/err$i")"
            done
            cmp -s "$work/song.midx10" "$work/alone.x10" || fail "the x10 file is not whole"
            ! find "$work" -name '*.part' | grep -q . || fail "a work file was left"
        done
        ;;
    link-loop-target)
        small_song "$work/song.mid"
        ln -s loop2 "$work/loop1"
        ln -s loop1 "$work/loop2"
        for command in export merge; do
            status=0
            timeout 20 "$cli" "$command" "$work/song.mid" -o "$work/loop1" 2>"$work/err" || status=$?
            [ "$status" -eq 1 ] || fail "$command to a link loop ended with $status, not 1"
            grep -qF "$work/loop1: not a regular file" "$work/err" || fail "$(cat "$work/err")"
            [ -L "$work/loop1" ] && [ -L "$work/loop2" ] || fail "$command replaced a link"
        done
        no_work_files
        ;;
    *)
        fail "unknown case"
        ;;
esac
echo "ok: $case_name"
