#!/usr/bin/env bash
# The main job: run the sxfattr tool's demo when the tool is built; until then say so.
set -euo pipefail
build=${1:-build/release}
if [ -x "$build/tools/sxfattr/sxfattr" ]; then
  exec "$build/tools/sxfattr/sxfattr" demo "$build/demo"
fi
echo "sxfattr: the command-line tool is not built yet; the libraries and tests are in $build." >&2
echo "Run 'make test' to build and run the test suite." >&2
