#!/usr/bin/env bash
# Runs clang-tidy with the repository's .clang-tidy over the project's sources, from the
# compile commands of the debug build (made first when missing). Not part of CI, which has two
# cores: run it before handing in a change. Exits non-zero when clang-tidy reports anything.
#
#   scripts/lint.sh [FILE...]     (default: every .cpp under src/ and tools/)
set -euo pipefail
cd "$(dirname "$0")/.."

build=build/debug
if [ ! -f "$build/compile_commands.json" ]; then
    cmake --preset debug >/dev/null
fi
# Qt's generated sources must exist for the window files to be checked.
cmake --build --preset debug --target songloader_ui_autogen >/dev/null

if [ $# -gt 0 ]; then
    files=("$@")
else
    mapfile -t files < <(git ls-files 'src/*.cpp' 'tools/*.cpp')
fi
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
jobs="$(nproc)"
printf '%s\n' "${files[@]}" |
    xargs -P "$jobs" -n 4 clang-tidy -p "$build" --quiet >"$log" 2>/dev/null || true
if grep -E ': (warning|error):' "$log" >/dev/null; then
    grep -E -A3 ': (warning|error):' "$log"
    echo "lint: $(grep -c -E ': (warning|error):' "$log") findings" >&2
    exit 1
fi
echo "lint: no findings in ${#files[@]} files"
