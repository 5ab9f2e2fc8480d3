#!/usr/bin/env bash
# Fails when a source file includes a header of a layer above its own. The layers, from the
# bottom: platform, host, model, title, attrdb, persist and special (side by side, neither
# includes the other), exports, then the umbrella header src/sxfattr.h; tools/ may include any
# of them. A file may include its own layer and every layer below it.
#
#   scripts/check_layers.sh [ROOT]      (default: the repository this script is in)
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

rank() {
  case "$1" in
    platform) echo 0 ;; host) echo 1 ;; model) echo 2 ;; title) echo 3 ;; attrdb) echo 4 ;;
    persist | special) echo 5 ;; exports) echo 6 ;; sxfattr.h) echo 7 ;; tools) echo 8 ;;
    *) echo "" ;;
  esac
}

bad=0
while IFS= read -r file; do
  case "$file" in
    src/sxfattr.h) own=sxfattr.h ;;
    src/*/*) own=${file#src/}; own=${own%%/*} ;;
    tools/*) own=tools ;;
    *) continue ;;
  esac
  ownRank=$(rank "$own")
  if [ -z "$ownRank" ]; then
    echo "$file: not in a known layer (add its folder to scripts/check_layers.sh)"
    bad=1
    continue
  fi
  while IFS=: read -r line target; do
    layer=${target%%/*}
    [ "$target" = sxfattr.h ] && layer=sxfattr.h
    targetRank=$(rank "$layer")
    [ -z "$targetRank" ] && continue  # a header of the tool's own folder or a system header
    if [ "$targetRank" -gt "$ownRank" ] || { [ "$targetRank" -eq "$ownRank" ] && [ "$layer" != "$own" ]; }; then
      echo "$file:$line: includes $target, a header of layer $layer above $own"
      bad=1
    fi
  done < <(grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" | sed -E 's/^([0-9]+):.*"([^"]+)".*/\1:\2/')
done < <(git ls-files -co --exclude-standard -- 'src/*.h' 'src/*.cpp' 'tools/*.h' 'tools/*.cpp')

if [ "$bad" -ne 0 ]; then
  echo "check_layers: includes run upward; move the code to the layer it belongs to" >&2
  exit 1
fi
echo "check_layers: every include runs to its own layer or one below"
