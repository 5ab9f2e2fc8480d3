#!/usr/bin/env bash
# Installs the Release build into a temporary prefix and builds and runs the consumer example
# against the installed package, as a user of the library would.
set -euo pipefail
cd "$(dirname "$0")/.."
prefix=$(mktemp -d)
work=$(mktemp -d)
trap 'rm -rf "$prefix" "$work"' EXIT
cmake --preset release >/dev/null
cmake --build build/release -j"${JOBS:-2}"
cmake --install build/release --prefix "$prefix" >/dev/null
cmake -S examples/consumer -B "$work/build" -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$work/build" -j"${JOBS:-2}" >/dev/null
(cd "$work" && LD_LIBRARY_PATH="$prefix/lib" "$work/build/consumer" "$work/consumer.sxa")
test -s "$work/consumer.sxa"
echo "install check: consumer built against $prefix and saved a section"
