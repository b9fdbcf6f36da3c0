#!/usr/bin/env bash
# Installs what is needed, builds every configuration and passes all the tests:
# the suite under AddressSanitizer+UndefinedBehaviorSanitizer, the MIDI tests under
# ThreadSanitizer, a bounded fuzz run, the Windows build under Wine, and last the plain suite,
# whose CTest summary closes the output. The suites that reach real MIDI ports run with a
# private JACK server of their own.
# The Debian package is built, installed, used and removed again (as root: see test-package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."

FUZZ_SECONDS="${FUZZ_SECONDS:-60}"

scripts/install-deps.sh

step() { printf '\n=== %s\n' "$*"; }
as_root=()
if [ "$(id -u)" -ne 0 ]; then
    as_root=(sudo)
fi

step "AddressSanitizer + UndefinedBehaviorSanitizer"
cmake --preset asan >/dev/null
cmake --build --preset asan
scripts/with-jack-server.sh ctest --preset asan

step "ThreadSanitizer: the MIDI ports and their threads"
cmake --preset tsan >/dev/null
cmake --build --preset tsan
ctest --preset tsan

step "Optimised build (what the run command builds)"
cmake --preset release >/dev/null
cmake --build --preset release

step "Fuzzing the conversion for ${FUZZ_SECONDS} s"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz --target fuzz_conversion make-example-songs
scripts/run-fuzzer.sh "$FUZZ_SECONDS"

step "Windows: cross-built with MinGW-w64, tested under Wine, the same files as on Linux"
scripts/test-windows.sh build/release

step "Debian package: built, installed, used by an ordinary user, removed"
"${as_root[@]}" scripts/test-package.sh

step "Tests"
cmake --preset debug >/dev/null
cmake --build --preset debug
scripts/with-jack-server.sh ctest --preset debug
