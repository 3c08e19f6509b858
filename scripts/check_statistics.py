#!/usr/bin/python3
"""Recomputes summary.csv and comparisons.csv of an experiment folder from its
runs.csv with scipy (and R's exactRankTests::wilcox.exact for the exact
signed-rank p values up to 50 differences) and reports the largest relative
difference from the folder's files, column by column; and where the folder's
ERT bootstrap limits lie among scipy's percentile bootstraps of the same runs.

    scripts/check_statistics.py FOLDER [--bootstraps K]

Debian packages: python3-scipy, python3-pandas, r-base-core, r-cran-exactranktests.
Exit status 1 when a statistic differs by more than 1e-9 relative.
"""

import argparse
import math
import subprocess
import sys

import numpy as np
import pandas as pd
from scipy import stats

TOLERANCE = 1e-9


def relative(a, b):
    if (isinstance(a, float) and math.isnan(a)) and (isinstance(b, float) and math.isnan(b)):
        return 0.0
    if a == b:
        return 0.0
    if any(math.isinf(x) or math.isnan(x) for x in (a, b)):
        return math.inf
    return abs(a - b) / max(abs(b), 1e-300)


def holm(pvalues):
    order = sorted(range(len(pvalues)), key=lambda i: pvalues[i])
    adjusted, running = [0.0] * len(pvalues), 0.0
    for k, i in enumerate(order):
        running = max(running, min(1.0, (len(pvalues) - k) * pvalues[i]))
        adjusted[i] = running
    return adjusted


def wilcox_exact(samples):
    """Exact two-sided p values of R's wilcox.exact, one call for all samples."""
    if not samples:
        return []
    lines = ["suppressMessages(library(exactRankTests))"]
    for d in samples:
        lines.append("cat(format(wilcox.exact(c(%s), exact=TRUE)$p.value, digits=17), '\\n')"
                     % ",".join(repr(float(x)) for x in d))
    out = subprocess.run(["Rscript", "-e", "\n".join(lines)], capture_output=True, text=True, check=True).stdout
    return [float(x) for x in out.split()]


def read_runs(folder):
    runs = pd.read_csv(folder + "/runs.csv")
    runs["population"] = runs["evaluations"] // (1 + runs["generations"])
    hit = runs["hit_generation"]
    runs["hit"] = hit.notna()
    runs["length"] = np.where(runs["hit"], hit.fillna(0), runs["generations"]).astype(np.int64)
    runs["spent"] = runs["population"] * (1 + runs["length"])
    runs["ranked"] = np.where(runs["hit"], hit.fillna(0), runs["generations"] + 1).astype(np.int64)
    return runs


# The columns that name a cell: its problem, size and configuration.
CELL = ["problem", "size", "config"]


def cell(row):
    return "%s %d c%d" % (row["problem"], row["size"], row["config"])


def summary(runs):
    rows = []
    for (problem, size, config, method), g in runs.groupby(CELL + ["method"], sort=False):
        n, hits = len(g), int(g["hit"].sum())
        ci = stats.binomtest(hits, n).proportion_ci(method="wilson")
        hit_gens = g.loc[g["hit"], "hit_generation"].to_numpy(dtype=float)
        row = {"problem": problem, "size": size, "config": config, "method": method, "runs": n, "hits": hits, "success_rate": hits / n,
               "success_low": 0.0 if hits == 0 else ci.low, "success_high": 1.0 if hits == n else ci.high,
               "ert_generations": g["length"].sum() / hits if hits else math.nan,
               "ert_evaluations": g["spent"].sum() / hits if hits else math.nan,
               "median_generations": np.percentile(hit_gens, 50) if hits else math.nan,
               "q1_generations": np.percentile(hit_gens, 25) if hits else math.nan,
               "q3_generations": np.percentile(hit_gens, 75) if hits else math.nan,
               "mean_best_ever": g["best_ever"].mean(),
               "sd_best_ever": g["best_ever"].std(ddof=1) if n > 1 else math.nan}
        rows.append(row)
    return pd.DataFrame(rows)


def comparisons(runs):
    rows, exact = [], []
    for (problem, size, config), q in runs.groupby(CELL, sort=False):
        methods = list(dict.fromkeys(q["method"]))
        by = {m: q[q["method"] == m].set_index("repeat") for m in methods}
        family = []
        for test in ("mcnemar_exact", "wilcoxon_signed_rank"):
            for i, a in enumerate(methods):
                for b in methods[i + 1:]:
                    ra, rb = by[a].align(by[b], join="inner")
                    row = {"problem": problem, "size": size, "config": config, "method_a": a, "method_b": b, "test": test}
                    if test == "mcnemar_exact":
                        bb = int((ra["hit"] & ~rb["hit"]).sum())
                        cc = int((~ra["hit"] & rb["hit"]).sum())
                        row.update(n=bb + cc, a_better=bb, b_better=cc)
                        if bb + cc:
                            row["statistic"] = min(bb, cc)
                            row["p_value"] = stats.binomtest(min(bb, cc), bb + cc).pvalue
                            ci = stats.binomtest(bb, bb + cc).proportion_ci(method="exact")
                            odds = lambda p: math.inf if p >= 1 else p / (1 - p)
                            row["effect"] = math.inf if cc == 0 else bb / cc
                            row["effect_low"] = 0.0 if bb == 0 else odds(ci.low)
                            row["effect_high"] = math.inf if cc == 0 else odds(ci.high)
                    else:
                        d = (ra["ranked"] - rb["ranked"]).to_numpy(dtype=float)
                        nz = d[d != 0]
                        row.update(n=len(nz), a_better=int((d < 0).sum()), b_better=int((d > 0).sum()))
                        if len(nz):
                            ranks = stats.rankdata(np.abs(nz))
                            row["statistic"] = min(ranks[nz > 0].sum(), ranks[nz < 0].sum())
                            if len(nz) <= 50:
                                exact.append((len(rows), nz))
                            else:
                                row["p_value"] = stats.wilcoxon(nz, correction=True, method="approx").pvalue
                            la = by[a]["ranked"].to_numpy(dtype=float)
                            lb = by[b]["ranked"].to_numpy(dtype=float)
                            row["effect"] = stats.mannwhitneyu(lb, la).statistic / (len(la) * len(lb))
                    rows.append(row)
                    family.append(len(rows) - 1)
        rows_family = family
        for index, p in zip([i for i, _ in exact], wilcox_exact([d for _, d in exact])):
            rows[index]["p_value"] = p
        exact.clear()
        defined = [i for i in rows_family if "p_value" in rows[i]]
        for i, p in zip(defined, holm([rows[i]["p_value"] for i in defined])):
            rows[i]["p_holm"] = p
    return pd.DataFrame(rows)


def compare(name, ours, reference, keys):
    worst = 0.0
    merged = ours.merge(reference, on=keys, suffixes=("", "_ref"), how="outer", indicator=True)
    if (merged["_merge"] != "both").any():
        print("%s: rows differ in their keys" % name)
        return math.inf
    for column in reference.columns:
        if column in keys:
            continue
        largest = 0.0
        for a, b in zip(merged[column], merged[column + "_ref"]):
            a = float(a) if not pd.isna(a) else math.nan
            b = float(b) if not pd.isna(b) else math.nan
            largest = max(largest, relative(a, b))
        worst = max(worst, largest)
        print("  %-20s largest relative difference %.3g" % (column, largest))
    return worst


def bootstrap_check(folder, runs, ours, count):
    """Where each of our ERT limits lies among COUNT scipy percentile bootstraps."""
    rng = np.random.default_rng(12345)
    worst = 0.0
    for _, row in ours.iterrows():
        if pd.isna(row["ert_low"]):
            continue
        g = runs[(runs["problem"] == row["problem"]) & (runs["size"] == row["size"]) &
                 (runs["config"] == row["config"]) & (runs["method"] == row["method"])]
        spent, hit = g["spent"].to_numpy(float), g["hit"].to_numpy(float)

        def ert(s, h, axis=-1):
            total = h.sum(axis=axis)
            with np.errstate(divide="ignore", invalid="ignore"):
                return np.where(total > 0, s.sum(axis=axis) / np.where(total > 0, total, 1), np.inf)

        lows, highs = [], []
        for _ in range(count):
            r = stats.bootstrap((spent, hit), ert, paired=True, vectorized=True, n_resamples=1000,
                                method="percentile", random_state=rng)
            lows.append(r.confidence_interval.low)
            highs.append(r.confidence_interval.high)
        for label, value, sample in (("low", row["ert_low"], lows), ("high", row["ert_high"], highs)):
            sample = np.array(sample, dtype=float)
            finite = sample[np.isfinite(sample)]
            if math.isinf(float(value)) or len(finite) < len(sample):
                print("  %s %-24s %-4s ours %s, scipy inf in %d of %d" % (
                    cell(row), row["method"], label, value, len(sample) - len(finite), len(sample)))
                continue
            z = (float(value) - finite.mean()) / finite.std(ddof=1) if finite.std(ddof=1) > 0 else 0.0
            worst = max(worst, abs(z))
            print("  %s %-24s %-4s ours %.6g, scipy %.6g +- %.3g (z %.2f)" % (
                cell(row), row["method"], label, float(value), finite.mean(), finite.std(ddof=1), z))
    print("bootstrap: largest |z| of our limits among scipy's %.2f" % worst)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("folder")
    parser.add_argument("--bootstraps", type=int, default=20, help="scipy bootstraps per limit (default 20)")
    args = parser.parse_args()
    runs = read_runs(args.folder)
    ours_summary = pd.read_csv(args.folder + "/summary.csv")
    ours_comparisons = pd.read_csv(args.folder + "/comparisons.csv")
    print("summary.csv")
    worst = compare("summary.csv", ours_summary.drop(columns=["ert_low", "ert_high"]), summary(runs),
                    CELL + ["method"])
    print("comparisons.csv")
    worst = max(worst, compare("comparisons.csv", ours_comparisons, comparisons(runs),
                               CELL + ["method_a", "method_b", "test"]))
    print("largest relative difference of any statistic: %.3g" % worst)
    if args.bootstraps > 0:
        bootstrap_check(args.folder, runs, ours_summary, args.bootstraps)
    return 0 if worst <= TOLERANCE else 1


if __name__ == "__main__":
    sys.exit(main())
