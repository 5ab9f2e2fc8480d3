#!/usr/bin/env bash
# Runs the performance table of a bench build: first the self-test of the table's parts (the
# chain-only map against CMap, the workload, the table's arithmetic, the measuring of a child
# process), then the driver, which measures every case in a process of its own, runs the build's
# sxfattr tool as a whole process, and prints the table at the end. The table is also written to
# <build>/table.txt. The drawing files of the run go to <build>/work. Extra arguments go to the
# driver (--quick for a short try-out at small sizes).
set -euo pipefail
build=${1:-build/bench}
shift || true
tool="$build/tools/sxfattr/sxfattr"
for p in "$build/bench/bench_selftest" "$build/bench/bench_table" "$build/bench/bench_table_chain" "$tool"; do
  [ -x "$p" ] || { echo "bench.sh: $p is not built" >&2; exit 1; }
done
"$build/bench/bench_selftest" --gtest_brief=1
mkdir -p "$build/work"
"$build/bench/bench_table" --table "$build/table.txt" --work "$build/work" \
  --baseline "$build/bench/bench_table_chain" --tool "$tool" "$@"
