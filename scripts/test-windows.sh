#!/usr/bin/env bash
# The Windows build, proved on Linux: installs MinGW-w64 and Wine, cross-builds the windows-cross
# preset from a clean build folder, runs its tests under Wine, and checks that songloader-cli.exe
# writes under Wine the very files that the Linux songloader-cli writes, for the example songs and
# for names outside every ANSI code page. Ends with the time it all took.
#
#   scripts/test-windows.sh [LINUX_BUILD]    # LINUX_BUILD: a built Linux preset, build/release
set -euo pipefail
cd "$(dirname "$0")/.."

started=$(date +%s)
linux_build="${1:-build/release}"
linux_cli="$linux_build/src/cli/songloader-cli"
make_songs="$linux_build/examples/make-example-songs"
for program in "$linux_cli" "$make_songs"; do
    if [ ! -x "$program" ]; then
        echo "test-windows.sh: $program is missing: build the Linux programs first" >&2
        exit 1
    fi
done

scripts/install-deps.sh windows

build=build/windows-cross
rm -rf "$build"
cmake --preset windows-cross >/dev/null
cmake --build --preset windows-cross

# Wine as the toolchain file runs the programs (cmake/WindowsCrossToolchain.cmake).
wine=/usr/lib/wine/wine64
export WINEPREFIX="$PWD/$build/wine-prefix" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
export LC_ALL=C.UTF-8
on_windows() { "$wine" "$@"; }

# The prefix is made once, then its server and services are kept up for the whole run, started
# here with their output nowhere: a service that a test program started would hold that
# program's output open, and CTest would wait for it.
on_windows wineboot --init >/dev/null 2>&1
/usr/lib/wine/wineserver --wait
/usr/lib/wine/wineserver --persistent
trap '/usr/lib/wine/wineserver --kill' EXIT
on_windows wineboot >/dev/null 2>&1
# So is Wine's desktop, which a program that stays on it keeps up: otherwise the first test
# program to touch the desktop would start it, and wait for it to end with the last user.
on_windows notepad.exe >/dev/null 2>&1 &
on_windows "$build/src/cli/songloader-cli.exe" --version >/dev/null 2>&1

ctest --preset windows-cross

# The real MIDI system of Windows as Wine has it: no devices, and the program says so.
devices=$(on_windows "$build/src/cli/songloader-cli.exe" devices 2>/dev/null | tr -d '\r')
expected_devices=$'MIDI output devices:\n  none\nMIDI input devices:\n  none'
if [ "$devices" != "$expected_devices" ]; then
    echo "test-windows.sh: songloader-cli.exe devices under Wine listed:" >&2
    echo "$devices" >&2
    exit 1
fi

# The same songs converted and exported by both programs, each in a folder of its own.
same="$build/same-files"
mkdir -p "$same/songs" "$same/linux" "$same/windows"
"$make_songs" "$same/songs" >/dev/null
cp "$same/songs/scale.mid" "$same/songs/Café Müller.mid"
cp "$same/songs/chords.mid" "$same/songs/Σόλο 曲.mid"
cp "$same/songs/"*.mid "$same/linux/"
cp "$same/songs/"*.mid "$same/windows/"
windows_cli="$PWD/$build/src/cli/songloader-cli.exe"
songs=()
for song in "$same/songs/"*.mid; do
    songs+=("$(basename "$song")")
done
# Export first: it removes the x10 file it converts through, which convert then keeps.
(
    cd "$same/linux"
    for song in "${songs[@]}"; do
        "$OLDPWD/$linux_cli" export "$song" -o "$song.syx" >/dev/null
    done
    "$OLDPWD/$linux_cli" convert "${songs[@]}" >../linux.out
)
(
    cd "$same/windows"
    for song in "${songs[@]}"; do
        on_windows "$windows_cli" export "$song" -o "$song.syx" >/dev/null 2>&1
    done
    on_windows "$windows_cli" convert "${songs[@]}" 2>/dev/null | tr -d '\r' >../windows.out
)
compared=0
for song in "${songs[@]}"; do
    for file in "${song}x10" "$song.syx"; do
        if ! cmp "$same/linux/$file" "$same/windows/$file"; then
            echo "test-windows.sh: $file differs between Linux and Windows" >&2
            exit 1
        fi
        compared=$((compared + 1))
    done
done
if ! cmp "$same/linux.out" "$same/windows.out"; then
    echo "test-windows.sh: convert printed other paths on Windows" >&2
    exit 1
fi
echo "songloader-cli.exe under Wine wrote the same $compared files as on Linux:" \
    "${songs[*]/%/ (x10, syx)}"

echo "The Windows part took $(($(date +%s) - started)) s, installs included."
