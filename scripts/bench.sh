#!/usr/bin/env bash
# Runs the performance table of a bench build: first the self-test of the table's parts (the
# chain-only map against CMap, the workload, the table's arithmetic), then the driver, which
# measures every case in a process of its own and prints the table at the end. The table is
# also written to <build>/table.txt. The drawing files of the run go to <build>/work.
set -euo pipefail
build=${1:-build/bench}
for p in bench_selftest bench_table bench_table_chain; do
  [ -x "$build/bench/$p" ] || { echo "bench.sh: $build/bench/$p is not built" >&2; exit 1; }
done
"$build/bench/bench_selftest" --gtest_brief=1
mkdir -p "$build/work"
"$build/bench/bench_table" --table "$build/table.txt" --work "$build/work" \
  --baseline "$build/bench/bench_table_chain"
