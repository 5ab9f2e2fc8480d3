#!/usr/bin/env bash
# Fails when a page of the API reference that README.md links to is missing from the reference
# built in the given folder (default build/docs/html): a renamed class or header must take its
# README link along.
set -euo pipefail
cd "$(dirname "$0")/.."
html=${1:-build/docs/html}
links=$(grep -o 'build/docs/html/[A-Za-z0-9_.-]*\.html' README.md | sort -u)
if [ -z "$links" ]; then
  echo "check_doc_links: README.md links no page of the API reference" >&2
  exit 1
fi
missing=0
for link in $links; do
  page="$html/${link#build/docs/html/}"
  if [ ! -f "$page" ]; then
    echo "check_doc_links: README.md links $link, which the reference does not have" >&2
    missing=1
  fi
done
[ "$missing" -eq 0 ] && echo "doc links: every README link to the API reference names a page of $html"
exit "$missing"
