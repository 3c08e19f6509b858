#!/usr/bin/env bash
# Times the whole "nqueens-ga batch" command: rows per second of 12 queens,
# 48 repeats, 1000 generations at 1 and 2 jobs (median of 3 runs each) and
# their ratio; the cost of a repeat that hardly evolves (4 queens, 1
# generation: setting up and writing rows), and the peak memory of that
# 100,000-row experiment (needs /usr/bin/time). Use a release build:
#   cmake --preset release && cmake --build --preset release --target nqueens-ga
#   bench/batch_bench.sh build/release/cli/nqueens-ga
set -eu
tool=${1:-build/release/cli/nqueens-ga}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Wall time of one batch in nanoseconds.
run_ns() {
  rm -rf "$work/out"
  local start end
  start=$(date +%s%N)
  "$tool" batch --quiet --out "$work/out" "$@" >/dev/null
  end=$(date +%s%N)
  echo $((end - start))
}

median3_ns() {
  { run_ns "$@"; run_ns "$@"; run_ns "$@"; } | sort -n | sed -n 2p
}

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
rows=$((48 * 5))
for jobs in 1 2; do
  ns=$(median3_ns --queens 12 --repeats 48 --generations 1000 --jobs "$jobs")
  eval "ns_$jobs=$ns"
  awk -v r="$rows" -v ns="$ns" -v j="$jobs" 'BEGIN { printf "jobs %d: %.3f s, %.1f rows/s\n", j, ns / 1e9, r / (ns / 1e9) }'
done
awk -v a="$ns_1" -v b="$ns_2" 'BEGIN { printf "ratio (2 jobs / 1 job rows/s): %.2f\n", a / b }'

ns=$(median3_ns --queens 4 --repeats 20000 --generations 1 --jobs 1)
awk -v ns="$ns" 'BEGIN { printf "4 queens, 1 generation, 1 job: %.1f us per repeat (whole command / 20000)\n", ns / 1e3 / 20000 }'
if [ -x /usr/bin/time ]; then
  rm -rf "$work/out"
  kb=$(/usr/bin/time -f %M "$tool" batch --quiet --out "$work/out" --queens 4 --repeats 20000 --generations 1 2>&1 >/dev/null)
  echo "100,000 rows: peak resident memory $((kb / 1024)) MB (${kb} kB)"
fi
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
