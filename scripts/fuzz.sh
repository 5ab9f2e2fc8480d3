#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for SECONDS each, one after another, on a copy of its
# seed corpus (the checked-in corpus is never changed). Fails when a target finds a crash, a leak,
# a hang, a broken reader promise or an allocation over the guard's limit; the input that did it
# is left under the work folder printed at the end.
#
#   scripts/fuzz.sh [BUILD_DIR [SECONDS [TARGET...]]]     defaults: build/fuzz 30 all targets
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build/fuzz}
seconds=${2:-30}
shift $(($# < 2 ? $# : 2))
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_old_figure fuzz_new_figure fuzz_old_atrf_group fuzz_new_atrf_group fuzz_target_def
  fuzz_new_section fuzz_old_section fuzz_copy_buffer fuzz_recover fuzz_import_json)

work=$(mktemp -d "${TMPDIR:-/tmp}/sxfattr-fuzz.XXXXXX")
failed=()
summary=()
for t in "${targets[@]}"; do
  bin="$build/fuzz/$t"
  [ -x "$bin" ] || { echo "fuzz.sh: $bin is not built (cmake --preset fuzz && cmake --build build/fuzz)" >&2; exit 2; }
  mkdir -p "$work/$t/corpus" "$work/$t/artifacts"
  cp "$root/fuzz/corpus/$t/"* "$work/$t/corpus/"
  echo "== $t: ${seconds}s"
  status=0
  # -timeout: an input that takes this long is a hang. -max_len leaves room for the deepest
  # group trees the readers accept. A read allocates and frees many short-lived objects (figures,
  # strings, archive blocks), so with the sanitizer's default 256 MiB quarantine most of the time
  # would go to fresh pages; 16 MiB still holds everything one input frees.
  ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=16} UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1} \
    "$bin" -max_total_time="$seconds" -timeout=10 -max_len=16384 -print_final_stats=1 \
    -artifact_prefix="$work/$t/artifacts/" "$work/$t/corpus" >"$work/$t/log" 2>&1 || status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/$t/log" | tail -1)
  if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/$t/artifacts")" ]; then
    failed+=("$t")
    summary+=("$t: FINDING after ${runs:-?} executions (exit $status): $(ls "$work/$t/artifacts" | tr '\n' ' ')")
    grep -E '^(==|SUMMARY|ERROR)' "$work/$t/log" | head -20 >&2 || true
  else
    summary+=("$t: ${runs:-?} executions, no finding")
  fi
done

echo
printf '%s\n' "${summary[@]}"
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz.sh: findings in ${failed[*]}; logs and inputs under $work" >&2
  exit 1
fi
rm -rf "$work"
