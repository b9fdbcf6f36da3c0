#!/usr/bin/env bash
# Installs what is needed, builds SongLoader and runs its main job: the desktop program,
# with the device emulator "TAV Emulator" standing in for the device, so that songs can be
# loaded and sent at once without the hardware. The emulator runs on the machine's MIDI system
# (ALSA where its sequencer exists, otherwise JACK: a private JACK server with the dummy
# driver is started when none runs) and everything started here is stopped when the window
# closes. Without a display the example songs are sent from the command line instead.
#
#   scripts/run.sh [--no-emulator]
#
#   --no-emulator   start the program alone, for a real device
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/release
songloader="$build/src/ui/songloader"
cli="$build/src/cli/songloader-cli"
emulator="$build/src/emulator/tav-emulator"
songs="$build/example-songs"
store="$build/tav-emulator-songs"
emulator_name="TAV Emulator"

usage() {
    sed -n '/^#   scripts/,/^#   --no/p' "$0" | sed 's/^# \{0,1\}//'
}

has_display() {
    [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]
}

# The index of the emulator's device in one direction, as the program lists them. The MIDI
# system may put a client name before the port's ("TAV Emulator:TAV Emulator in" on JACK).
device_index() {
    local direction="$1"
    { "$cli" devices 2>/dev/null || true; } | awk -v title="MIDI $direction devices:" -v name="$emulator_name" '
        $0 == title { inside = 1; next }
        /^MIDI / { inside = 0 }
        inside && $1 ~ /^[0-9]+$/ { index_ = $1; $1 = ""; sub(/^ +/, ""); if (index($0, name) > 0) { print index_; exit } }'
}

# Saves the emulator as the chosen device pair, so the program opens ready to send to it.
choose_emulator() {
    local in_index out_index
    in_index="$(device_index input)"
    out_index="$(device_index output)"
    if [ -z "$in_index" ] || [ -z "$out_index" ]; then
        echo "run.sh: \"$emulator_name\" is not among the MIDI devices; choose it in Options > Midi Devices" >&2
        return 0
    fi
    printf 'MIDIINPORT=%s\r\nMIDIOUTPORT=%s\r\n' "$in_index" "$out_index" \
        >"$(dirname "$songloader")/SongLoader.ini"
}

# Without a display: the example songs go to the emulator from the command line, with
# handshakes, so that the emulator's reply to every packet counts.
transfer_without_display() {
    echo "No display: sending the example songs in $songs from the command line instead."
    "$cli" send --out "$emulator_name" --in "$emulator_name" --handshake --packet-ms 10 \
        "$songs"/*.mid
}

# Runs inside the emulator's lifetime (and the private JACK server's, when there is one).
main_job() {
    choose_emulator
    if has_display; then
        echo "SongLoader is running: add songs with Load Songs, then Transfer Checked."
        "$songloader"
    else
        transfer_without_display
    fi
}

if [ "${1:-}" = "--main-job" ]; then
    main_job
    exit
fi
with_emulator=1
case "${1:-}" in
    "") ;;
    --no-emulator) with_emulator=0 ;;
    -h | --help) usage; exit 0 ;;
    *) echo "run.sh: unknown option '$1'" >&2; usage >&2; exit 2 ;;
esac

scripts/install-deps.sh
cmake --preset release >/dev/null
cmake --build --preset release --target songloader songloader-cli tav-emulator make-example-songs
"$build/examples/make-example-songs" "$songs" >/dev/null

if [ "$with_emulator" -eq 0 ]; then
    if ! has_display; then
        echo "run.sh: no display (DISPLAY and WAYLAND_DISPLAY are unset): the program needs one" >&2
        exit 1
    fi
    exec "$songloader"
fi

if [ -e /dev/snd/seq ] || JACK_NO_START_SERVER=1 jack_lsp >/dev/null 2>&1; then
    scripts/with-emulator.sh "$emulator" "$store" "$0" --main-job
else
    echo "No ALSA sequencer and no JACK server here: starting a private JACK server (dummy driver)."
    scripts/with-jack-server.sh scripts/with-emulator.sh "$emulator" "$store" "$0" --main-job
fi
