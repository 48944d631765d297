#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The simulator side by side with two event-driven gate-level simulators, on bench_sim's circuits
# of 1000 elements, each run as a whole program:
#   tarnwell-batch run CIRCUIT.net --units N   (our runner)
#   verga CIRCUIT.v                            (TkGate's simulator, Debian package tkgate)
#   vvp CIRCUIT.vvp                            (Icarus Verilog, Debian package iverilog)
# tarnwell-benchcircuits writes each circuit as a netlist and as gate-level Verilog (`not #1`,
# `nand #1` primitives, clocks as registers flipped by `always` blocks). The circuits: a busy
# chain (a generator of period 2 and 999 inverters), the random network of 992 NAND gates under
# eight generators (every delay 1), and the chain under a generator of period 668.
#
# First every simulator prints the levels of all nets at a few times and the script checks that
# the three agree; then each runs N units of every circuit, and the script prints the units per
# second of processor time (user and system, the median of RUNS runs, start-up and reading the
# circuit included; processor time, so that other load on the machine counts less).
#
#   bash bench/side_by_side.sh [BUILD]   BUILD: a Release build folder (default build-bench),
#                                        configured and built here when needed
# Environment: RUNS (default 3), SCALE (multiplies every N, default 1), BATCH (another
# tarnwell-batch to measure in place of BUILD's, for instance an older build), LIMIT (seconds a
# single simulator run may take before it is stopped, default 300; a stopped run shows as
# "timeout" and counts as a disagreement).
# Exits with status 1 when the levels disagree or a run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-bench}
runs=${RUNS:-3}
scale=${SCALE:-1}
limit=${LIMIT:-300}

need=()
{ command -v vvp && command -v iverilog; } >/dev/null || need+=(iverilog)
command -v verga >/dev/null || need+=(tkgate)
if [ ${#need[@]} -gt 0 ]; then
    echo "Installing: ${need[*]}"
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${need[@]}"
fi

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DTARNWELL_BENCH=ON >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target tarnwell-batch tarnwell-benchcircuits >/dev/null
batch=${BATCH:-$build/bin/tarnwell-batch}
gen=$build/bin/tarnwell-benchcircuits

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Name, units of the timed runs, and the sample times of the check: late enough that every
# simulator has left its start behind (our nets start at 0, Verilog's at x).
circuits=(
    "busy_chain 20000 1500 1501 2222"
    "nand_network 50000 3000 4321 7777"
    "idle_chain 20000000 1500 2000 2345"
)

# Every simulator runs under `timeout`: a run that does not come back is stopped, not waited for.
run() { timeout "$limit" "$@"; }

# "T LEVELS" for every sample time T, net 0 first.
ours_levels() {
    local net=$1
    shift
    for t in "$@"; do
        printf '%s ' "$t"
        { run "$batch" run "$net" --units "$t" || echo "failed: status $?"; } |
            sed -n 's/^NetLevels: //p; /^failed/p' | tr -d ' '
    done
}
# The Verilog prints net N - 1 first, and verga drops leading zeros: pad to `width`, reverse.
verilog_levels() {
    awk -v width="$1" '/^[0-9]+ / {
        s = $2
        while (length(s) < width) s = "0" s
        r = ""
        for (i = length(s); i >= 1; --i) r = r substr(s, i, 1)
        print $1, r
    }'
}

# Processor seconds of a command (user and system, its children included), the median of $runs
# runs; "failed" when a run fails or is stopped.
cpu_seconds() {
    local times=() TIMEFORMAT='%U %S' t
    for ((r = 0; r < runs; ++r)); do
        if ! t=$({ time run "$@" >/dev/null 2>&1; } 2>&1); then
            echo failed
            return
        fi
        times+=("$(awk '{ print $1 + $2 }' <<<"$t")")
    done
    printf '%s\n' "${times[@]}" | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'
}

# Units per second, or "failed".
rate() {
    if [ "$2" = failed ]; then
        echo failed
    else
        awk -v u="$1" -v s="$2" 'BEGIN { printf "%.3g", (s > 0 ? u / s : 0) }'
    fi
}

agree=1
rows=()
for c in "${circuits[@]}"; do
    read -r name units samples <<<"$c"
    units=$((units * scale))
    read -r -a times <<<"$samples"

    "$gen" "$name" "$work" "${times[-1]}" "${times[@]}"
    ours=$(ours_levels "$work/$name.net" "${times[@]}")
    width=$(echo "$ours" | head -1 | awk '{ print length($2) }')
    run iverilog -o "$work/$name.vvp" "$work/$name.v"
    icarus=$({ run vvp -n "$work/$name.vvp" || echo "failed: status $?"; } | verilog_levels "$width")
    tkgate=$({ run verga -q "$work/$name.v" || echo "failed: status $?"; } | verilog_levels "$width")
    same=1
    for peer in icarus tkgate; do
        if [ "${!peer}" != "$ours" ]; then
            echo "$name: the levels of $peer differ from ours" >&2
            diff <(echo "$ours") <(echo "${!peer}") | cut -c1-120 >&2 || true
            same=0
            agree=0
        fi
    done
    [ "$same" = 1 ] && echo "$name: the three agree on the levels of all $width nets after units ${times[*]}"

    "$gen" "$name" "$work" "$units"
    run iverilog -o "$work/$name.vvp" "$work/$name.v"
    s_ours=$(cpu_seconds "$batch" run "$work/$name.net" --units "$units")
    s_verga=$(cpu_seconds verga -q "$work/$name.v")
    s_vvp=$(cpu_seconds vvp -n "$work/$name.vvp")
    r_ours=$(rate "$units" "$s_ours")
    r_verga=$(rate "$units" "$s_verga")
    r_vvp=$(rate "$units" "$s_vvp")
    for s in "$s_ours" "$s_verga" "$s_vvp"; do [ "$s" != failed ] || agree=0; done
    ratio=$(awk -v o="$r_ours" -v a="$r_verga" -v b="$r_vvp" \
        'BEGIN { a += 0; b += 0; best = a > b ? a : b; printf "%.2fx", (best > 0 ? o / best : 0) }')
    rows+=("$(printf '%-13s %10s %12s %12s %12s %8s' "$name" "$units" "$r_ours" "$r_verga" "$r_vvp" "$ratio")")
done

echo
printf '%-13s %10s %12s %12s %12s %8s\n' circuit units tarnwell verga vvp "vs best"
printf '%s\n' "${rows[@]}"
echo "(units per second of processor time, median of $runs runs of the whole program)"
[ "$agree" = 1 ]
