#!/bin/sh
# Runs one fuzz target for a bounded time from its checked-in seeds, with a fixed seed;
# new inputs go to a scratch directory, never into the tree. Fails on any finding.
# Usage: run_fuzzer.sh FUZZER SEED_CORPUS SECONDS
set -eu
fuzzer=$1 seeds=$2 seconds=$3
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$fuzzer" -seed=1 -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$scratch/" \
    "$scratch" "$seeds" 2>&1 | grep -E "stat::number_of_executed_units|stat::average_exec_per_sec|ERROR|property failed|#[0-9]+ *DONE|SUMMARY" || true
# libFuzzer leaves a crash- or leak- file for every finding.
if ls "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* "$scratch"/oom-* >/dev/null 2>&1; then
    echo "finding: $(ls "$scratch"/crash-* "$scratch"/leak-* "$scratch"/timeout-* "$scratch"/oom-* 2>/dev/null)"
    exit 1
fi
