#!/usr/bin/env bash
# Runs every case of golden/cases.txt with the given nqueens-ga and compares
# what it prints and writes with the stored results. ZP_GOLDEN_UPDATE=1
# stores the results instead.
set -u
tool=$(realpath "$1")
golden=$(cd "$(dirname "$0")/golden" && pwd)
# The pictures' text extents come from the fonts: draw with the tests' own set.
export FONTCONFIG_FILE=${FONTCONFIG_FILE:-$(cd "$golden/../.." && pwd)/fonts.conf}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
while read -r name args; do
  case "$name" in ''|'#'*) continue ;; esac
  dir="$work/$name"
  mkdir -p "$dir"
  cp "$golden/script.txt" "$golden/stdin.txt" "$dir/"
  (cd "$dir" && eval "\"$tool\" $args" >stdout.txt 2>stderr.txt; echo $? >exit.txt)
  rm -f "$dir/script.txt" "$dir/stdin.txt"
  if [ "${ZP_GOLDEN_UPDATE:-0}" = 1 ]; then
    rm -rf "${golden:?}/$name"
    cp -r "$dir" "$golden/$name"
  elif ! diff -r "$golden/$name" "$dir" >"$work/$name.diff"; then
    echo "golden case '$name' differs:"
    head -40 "$work/$name.diff"
    status=1
  fi
done <"$golden/cases.txt"
exit $status
