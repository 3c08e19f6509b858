#!/usr/bin/env bash
# nqueens-ga-mpi batch against nqueens-ga batch: the same files for 2 ranks
# with 1 and 2 jobs and for one rank without a launcher; bad input reported
# once with status 2 and nothing written; a rank whose repeat fails ends the
# job with "error: rank K: ..." and the rows so far, and --resume finishes it
# to the same files.
#   mpi_batch_test.sh NQUEENS-GA NQUEENS-GA-MPI
set -u
threaded=$1
mpi=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
launch() { mpirun -n 2 --oversubscribe "$@"; }

# Every file the same, the times in timing.csv and the "run" part of experiment.json aside.
same_files() {
  local a=$1 b=$2
  diff -r -x timing.csv -x experiment.json "$a" "$b" >"$work/diff" || fail "$b differs from $a: $(head -5 "$work/diff")"
  # timing.csv: the header and one line per repeat, the same repeats in the same order.
  diff <(cut -d, -f1-4 "$a/timing.csv") <(cut -d, -f1-4 "$b/timing.csv") >/dev/null ||
    fail "$b/timing.csv holds other lines than $a/timing.csv"
  [ "$(awk -F, 'NF != 5' "$b/timing.csv" | wc -l)" -eq 0 ] || fail "$b/timing.csv has a line that is no repeat's"
  diff <(sed '/"run"/,$d' "$a/experiment.json") <(sed '/"run"/,$d' "$b/experiment.json") >/dev/null ||
    fail "$b/experiment.json parameters differ"
}

args=(--problem nqueens,jump:2 --sizes 5,7 --repeats 7 --generations 40 --seed 0x51 --streams shared --label mpi-test)
"$threaded" batch "${args[@]}" --quiet --jobs 2 --out "$work/threaded" >"$work/threaded.out" || fail "threaded batch"
launch "$mpi" batch "${args[@]}" --quiet --out "$work/ranks2" >"$work/ranks2.out" || fail "2 ranks"
same_files "$work/threaded" "$work/ranks2"
cmp -s "$work/threaded.out" "$work/ranks2.out" || fail "the table on stdout differs"
grep -q '"ranks": 2' "$work/ranks2/experiment.json" || fail "experiment.json does not name 2 ranks"
grep -q '"compute_phase"' "$work/ranks2/experiment.json" || fail "experiment.json has no compute phase"
# Every CSV file reads with pandas' default settings.
/usr/bin/python3 - "$work/ranks2" <<'PY' || fail "pandas cannot read a CSV file of $work/ranks2"
import glob, sys
import pandas as pd
for name in sorted(glob.glob(sys.argv[1] + "/*.csv")):
    pd.read_csv(name)
PY
launch "$mpi" batch "${args[@]}" --quiet --jobs 2 --out "$work/jobs2" >/dev/null || fail "2 ranks x 2 jobs"
same_files "$work/threaded" "$work/jobs2"
"$mpi" batch "${args[@]}" --out "$work/single" >/dev/null 2>"$work/single.err" || fail "one rank without mpirun"
same_files "$work/threaded" "$work/single"
grep -q '^nqueens-ga-mpi: compute phase' "$work/single.err" || fail "no compute phase line: $(cat "$work/single.err")"

# Bad input: one line from rank 0, status 2 from every rank, nothing written.
launch "$mpi" batch --queens 3 --out "$work/bad" >/dev/null 2>"$work/bad.err"
status=$?
[ "$status" -eq 2 ] || fail "bad input: status $status"
[ "$(grep -c '^error: ' "$work/bad.err")" -eq 1 ] || fail "bad input: $(cat "$work/bad.err")"
grep -q '^error: --queens: ' "$work/bad.err" || fail "bad input: no --queens error"
[ ! -e "$work/bad" ] || fail "bad input wrote $work/bad"

# A failing rank: the job ends (bounded by ctest's timeout), the rows so far are whole.
# Repeats long enough, and a failure early enough, that a rank started late on a
# loaded machine still reaches it before the other rank has done everything.
long=(--queens 8 --repeats 60 --generations 400 --label mpi-long)
"$threaded" batch "${long[@]}" --quiet --out "$work/long" >/dev/null || fail "threaded long batch"
for rank in 1 0; do
  out="$work/failed$rank"
  ZP_TEST_FAIL_RANK=$rank:2 launch "$mpi" batch "${long[@]}" --quiet --out "$out" >/dev/null 2>"$out.err"
  status=$?
  [ "$status" -ne 0 ] || fail "rank $rank failed, yet status 0"
  [ "$(grep -c "^error: rank $rank: std::bad_alloc$" "$out.err")" -eq 1 ] || fail "rank $rank: $(cat "$out.err")"
  rows=$(($(wc -l <"$out/runs.csv") - 1))
  # Whole repeats only, and not all of them (which rows come first depends on the other rank's pace).
  [ $((rows % 5)) -eq 0 ] && [ "$rows" -lt 300 ] || fail "rank $rank failed: $rows rows"
  [ -z "$(tail -c 1 "$out/runs.csv")" ] || fail "rank $rank failed: runs.csv ends in a cut line"
  launch "$mpi" batch --quiet --resume --out "$out" >/dev/null || fail "resume after rank $rank failed"
  same_files "$work/long" "$out"
done

[ "$failures" -eq 0 ] && echo "mpi batch: all checks passed"
[ "$failures" -eq 0 ]
