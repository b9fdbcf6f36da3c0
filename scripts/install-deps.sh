#!/usr/bin/env bash
# Installs the Debian packages that building and testing SongLoader need, when missing.
# With "windows": those of the Windows cross build and its tests under Wine instead
# (scripts/test-windows.sh).
set -euo pipefail

WINDOWS_PACKAGES=(
    # MinGW-w64 with C++ threads, not the mingw-w64 metapackage (four compilers); GoogleTest's
    # sources; 64-bit Wine (its `wine` wrapper is only recommended).
    g++-mingw-w64-x86-64-posix googletest wine64
)

PACKAGES=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    librtmidi-dev jackd2 libjack-jackd2-dev
    qt6-base-dev qt6-qpa-plugins libgl-dev
    # The merge's independent check: Debian's MIDI reader and real multi-track songs.
    python3-mido python3-midiutil openttd-openmsx
    # The Debian package: manual pages, the .deb, and what its test checks it with.
    help2man dpkg-dev file binutils lintian desktop-file-utils appstream man-db
)

if [ "${1:-}" = windows ]; then
    PACKAGES=("${WINDOWS_PACKAGES[@]}")
fi

missing=()
for package in "${PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
