#!/usr/bin/env bash
# Installs a build (default: the Debug build that `make test` made) into a temporary prefix,
# then builds and runs the consumer example against the installed package, as a user would.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/debug}
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
cmake --build "$build" -j"${JOBS:-2}" >/dev/null
cmake --install "$build" --prefix "$prefix" >/dev/null
cmake -S examples/consumer -B "$work/build" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/build" -j"${JOBS:-2}" >/dev/null
(cd "$work" && LD_LIBRARY_PATH="$prefix/lib" "$work/build/consumer" "$work/consumer.sxa")
test -s "$work/consumer.sxa"
echo "install check: the consumer built against $prefix and saved a section"
