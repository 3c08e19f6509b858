#!/usr/bin/env bash
# The IOHprofiler info files as R reads them (read.csv of each header line, as
# that ecosystem's loader does): every key = value pair parses, maximization
# is TRUE, and two experiments' (funcId, DIM, algId) keys are disjoint, so
# that loading both keeps them apart. Needs Rscript (Debian r-base-core).
#   iohprofiler_r_test.sh NQUEENS-GA
set -u
tool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
command -v Rscript >/dev/null || { echo "FAIL: Rscript is missing (Debian package r-base-core)" >&2; exit 1; }
for label in first second; do
  "$tool" batch --queens 4,6 --repeats 3 --generations 10 --quiet --label "$label" --out "$work/$label" >/dev/null ||
    { echo "FAIL: batch $label" >&2; exit 1; }
done
Rscript - "$work/first/iohprofiler" "$work/second/iohprofiler" <<'R'
args <- commandArgs(trailingOnly = TRUE)
keys_of <- function(folder) {
  keys <- character(0)
  for (file in list.files(folder, pattern = "\\.info$", recursive = TRUE, full.names = TRUE)) {
    lines <- readLines(file)
    for (line in lines[seq(1, length(lines), by = 3)]) {
      fields <- unlist(read.csv(text = line, quote = c("\"", "'"), header = FALSE, strip.white = TRUE)[1, ])
      pairs <- strsplit(fields, "=", fixed = TRUE)
      values <- lapply(pairs, function(p) type.convert(trimws(paste(p[-1], collapse = "=")), as.is = TRUE))
      names(values) <- sapply(pairs, function(p) trimws(p[1]))
      stopifnot(identical(names(values), c("suite", "funcId", "funcName", "DIM", "maximization", "algId", "algInfo")))
      if (!identical(values$maximization, TRUE)) stop("maximization is not TRUE in ", file, ": ", line)
      if (!is.numeric(values$DIM) || !is.numeric(values$funcId)) stop("DIM or funcId not a number: ", line)
      keys <- c(keys, paste(values$funcId, values$DIM, values$algId))
    }
  }
  if (anyDuplicated(keys)) stop("a key repeats within ", folder)
  keys
}
first <- keys_of(args[1])
second <- keys_of(args[2])
stopifnot(length(first) == 10, length(second) == 10)
shared <- intersect(first, second)
if (length(shared) > 0) stop("keys in both experiments: ", paste(shared, collapse = "; "))
cat("iohprofiler: 20 header lines read by R, maximization TRUE, keys disjoint\n")
R
