#!/usr/bin/env bash
# Installs the Debian packages a new machine lacks for the given purpose (build, tool, bench, fuzz,
# format, docs).
# Packages already present are left alone; apt-get runs only when something is missing.
set -euo pipefail

packages=(cmake g++ make pkg-config googletest libgtest-dev libgmock-dev)
for purpose in "$@"; do
  case "$purpose" in
    build) ;;
    tool) packages+=(nlohmann-json3-dev libcli11-dev libxlsxwriter-dev zlib1g-dev) ;;
    bench) packages+=(libbenchmark-dev) ;;
    fuzz) packages+=(clang libclang-rt-dev) ;;
    format) packages+=(clang-format) ;;
    docs) packages+=(doxygen) ;;
    *) echo "setup.sh: unknown purpose '$purpose'" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "setup: installing ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
