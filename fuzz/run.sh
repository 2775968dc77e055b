#!/usr/bin/env bash
# Runs every fuzzer of a fuzzing build for a while, each from a copy of its seed corpus.
# Usage: fuzz/run.sh <build folder> [seconds per fuzzer, 60 by default]
set -euo pipefail
build="$(cd "${1:?build folder with VELMORA_FUZZ=ON}" && pwd)"
seconds="${2:-60}"
seeds="$(cd "$(dirname "$0")" && pwd)/corpus"
work="$(mktemp -d)"
failed=0
for fuzzer in "$build"/fuzz/fuzz_*; do
    [ -f "$fuzzer" ] && [ -x "$fuzzer" ] || continue
    name="$(basename "$fuzzer")"
    corpus="$work/${name#fuzz_}"
    mkdir -p "$corpus"
    echo "== $name for ${seconds}s"
    if ! (cd "$work" && "$fuzzer" -max_total_time="$seconds" -print_final_stats=1 "$corpus" "$seeds/${name#fuzz_}" \
            >"$work/$name.log" 2>&1); then
        echo "!! $name failed; see $work/$name.log and the crash file in $work"
        failed=1
    fi
    grep -E "stat::number_of_executed_units|stat::peak_rss_mb" "$work/$name.log" || true
done
exit "$failed"
