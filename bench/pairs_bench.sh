#!/usr/bin/env bash
# Compares two builds of nqueens-ga on one batch, in interleaved pairs (old,
# new, old, new, ...), so that a machine that slows down or speeds up meanwhile
# touches both alike. Per run: the sum of the repeats' seconds from timing.csv
# (the repeats alone, without start-up and writing); per pair: new / old
# throughput (old time / new time); then the median ratio.
#   bench/pairs_bench.sh OLD-nqueens-ga NEW-nqueens-ga [PAIRS] [batch options...]
# Default batch: --queens 12 --repeats 48 --generations 1000 --jobs 1.
set -eu
old=$1 new=$2
pairs=${3:-5}
shift 3 2>/dev/null || shift $#
[ $# -gt 0 ] || set -- --queens 12 --repeats 48 --generations 1000 --jobs 1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

repeat_seconds() {
  rm -rf "$work/out"
  "$1" batch --quiet --out "$work/out" "${@:2}" >/dev/null
  awk -F, 'NR > 1 { s += $3 } END { printf "%.4f", s }' "$work/out/timing.csv"
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
ratios=()
for i in $(seq 1 "$pairs"); do
  o=$(repeat_seconds "$old" "$@")
  n=$(repeat_seconds "$new" "$@")
  r=$(awk -v o="$o" -v n="$n" 'BEGIN { printf "%.3f", o / n }')
  ratios+=("$r")
  echo "pair $i: old ${o} s, new ${n} s, new/old throughput ${r}"
done
median=$(printf '%s\n' "${ratios[@]}" | sort -g | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }')
echo "median new/old throughput: $median"
