#!/usr/bin/env bash
# Runs the conversion fuzzer for a bounded time, seeded with the malformed corpus, the good
# multi-track seeds and the example songs. Fails on any crash, leak, time-out or sanitizer report.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${1:-60}"
build=build/fuzz
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/corpus" "$work/seeds" fuzz/artifacts
cp tests/corpus/malformed/* tests/corpus/seeds/* "$work/seeds/"
"$build/examples/make-example-songs" "$work/seeds" >/dev/null

status=0
"$build/fuzz/fuzz_conversion" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -artifact_prefix="$PWD/fuzz/artifacts/" -print_final_stats=1 \
    "$work/corpus" "$work/seeds" >"$work/log" 2>&1 || status=$?
if [ "$status" -ne 0 ]; then
    tail -n 60 "$work/log"
    echo "fuzz_conversion failed (status $status); the input is in fuzz/artifacts/"
    exit "$status"
fi
grep -E '^(#[0-9]+ *DONE|stat::number_of_executed_units|stat::peak_rss_mb)' "$work/log" || true
echo "fuzz_conversion: no failure in ${seconds} s"
