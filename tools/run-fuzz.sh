#!/usr/bin/env bash
# Runs every fuzz target of a fuzzing build a fixed number of times with a fixed seed, starting
# from its seed corpus under tests/fuzz/<target>/ (the corpus in the repository is only read; new
# inputs go to a scratch folder). A crash leaves its input as crash-* in the current folder.
#   tools/run-fuzz.sh BUILD_DIR [RUNS] [SEED]
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:?fuzz build folder}"
runs="${2:-20000}"
seed="${3:-1}"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=0:abort_on_error=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"
status=0
for bin in "$build"/bin/fuzz_*; do
    name="${bin##*/fuzz_}"
    scratch="$(mktemp -d)"
    echo "== fuzz_$name: $runs runs, seed $seed"
    if ! "$bin" -runs="$runs" -seed="$seed" -max_len=16384 -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 "$scratch" "$src/tests/fuzz/$name" 2>"$scratch.log"; then
        status=1
        tail -n 60 "$scratch.log"
    else
        grep -E '^(#[0-9]+.*DONE|stat::number_of_executed_units|Done [0-9]+ runs)' "$scratch.log" || true
    fi
    rm -rf "$scratch" "$scratch.log"
done
exit $status
