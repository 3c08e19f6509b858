// summary.csv, comparisons.csv and the stdout table of a small hand-worked experiment.
// Texts marked "scipy" come from scripts/check_statistics.py over these rows: Debian's
// python3-scipy 1.10.1 (binomtest(k, n).proportion_ci(method='wilson' or 'exact'),
// binomtest(min(b, c), b + c).pvalue, mannwhitneyu(L_b, L_a).statistic / (n_a n_b)) and, for
// the exact signed-rank p values, R's exactRankTests::wilcox.exact; the tests need neither.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>

#include "experiment/Comparisons.h"
#include "experiment/ExperimentDesign.h"
#include "experiment/Report.h"
#include "experiment/Summary.h"
#include "platform/Random.h"

using namespace zp::experiment;
using zp::ga::TGASelectionMethod;

namespace {

constexpr auto R = TGASelectionMethod::smRoulette;
constexpr auto T = TGASelectionMethod::smTournament;
constexpr auto E = TGASelectionMethod::smElitist;
constexpr std::nullopt_t kMiss = std::nullopt;

// A run of a population of 4 x queens; Hit empty for a run that never hit.
TRunRow MakeRun(int32_t queens, int32_t repeat, TGASelectionMethod method, std::optional<int32_t> hit,
                int32_t generations, double best_ever, bool solved = true) {
  TRunRow row;
  row.Size = queens;
  row.Repeat = repeat;
  row.Method = method;
  row.Solved = hit && solved;
  row.HitGeneration = hit;
  row.Generations = generations;
  row.Population = 4 * queens;
  row.Evaluations = int64_t{4} * queens * (1 + generations);
  row.BestEver = best_ever;
  return row;
}

// Eight queens (cutoff 28), 100 generations, four repeats of three methods; ten queens, one run of one.
//   repeat  roulette                  tournament     elitist
//   0       miss      100  26         hit  40  28    hit  30  28
//   1       hit 0, unsolved, 100  28  hit  70  28    miss 100  27
//   2       hit  90        90  28     hit  20  28    hit  50  28
//   3       miss      100  25         miss 100 27    hit  60  28
// Roulette's start population held a solution in repeat 1 that its generations lost.
std::vector<TRunRow> Table() {
  return {MakeRun(8, 0, R, kMiss, 100, 26),
          MakeRun(8, 0, T, 40, 40, 28),
          MakeRun(8, 0, E, 30, 30, 28),
          MakeRun(8, 1, R, 0, 100, 28, false),
          MakeRun(8, 1, T, 70, 70, 28),
          MakeRun(8, 1, E, kMiss, 100, 27),
          MakeRun(8, 2, R, 90, 90, 28),
          MakeRun(8, 2, T, 20, 20, 28),
          MakeRun(8, 2, E, 50, 50, 28),
          MakeRun(8, 3, R, kMiss, 100, 25),
          MakeRun(8, 3, T, kMiss, 100, 27),
          MakeRun(8, 3, E, 60, 60, 28),
          MakeRun(10, 0, TGASelectionMethod::smRandom, kMiss, 100, 43)};
}

// The table with sixteen more repeats (4 .. 19) in which roulette misses, tournament
// hits at 40 and elitist at 40 + r, and an elitist run of ten queens that misses as random's does.
std::vector<TRunRow> LargerTable() {
  std::vector<TRunRow> rows = Table();
  for (int32_t r = 4; r < 20; ++r) {
    rows.push_back(MakeRun(8, r, R, kMiss, 100, 26));
    rows.push_back(MakeRun(8, r, T, 40, 40, 28));
    rows.push_back(MakeRun(8, r, E, 40 + r, 40 + r, 28));
  }
  rows.push_back(MakeRun(10, 0, E, kMiss, 100, 44));
  return rows;
}

}  // namespace

TEST(SummaryCsv, WorkedTable) {
  // Roulette: hits 2 (its start population counts); lengths 100 0 90 100 give ERT 290 / 2,
  // 32 x (101 + 1 + 91 + 101) / 2 evaluations; hit generations 0 and 90 give quartiles
  // 22.5 45 67.5; best 26 28 28 25 has mean 26.75 and sd 1.5.
  // Tournament: ERT 230 / 3, 32 x 234 / 3; hits at 20 40 70 give quartiles 30 40 55.
  // Elitist: ERT 240 / 3, 32 x 244 / 3; hits at 30 50 60 give 40 50 55.
  // Ten queens: one run without a hit, so no ERT, no quartiles and no sd. Wilson: scipy.
  EXPECT_EQ(
      SummaryCsv(Summarize(Table())),
      "problem,size,config,method,runs,hits,success_rate,success_low,success_high,ert_generations,ert_evaluations,"
      "ert_low,"
      "ert_high,median_generations,q1_generations,q3_generations,mean_best_ever,sd_best_ever\n"
      "nqueens,8,0,smRoulette,4,2,0.5,0.150038989152149,0.849961010847851,145,4704,,,45,22.5,67.5,26.75,1.5\n"
      "nqueens,8,0,smTournament,4,3,0.75,0.300641842582402,0.954412739190299,76.6666666666667,2496,,,40,30,55,27.75,0."
      "5\n"
      "nqueens,8,0,smElitist,4,3,0.75,0.300641842582402,0.954412739190299,80,2602.66666666667,,,50,40,55,27.75,0.5\n"
      "nqueens,10,0,smRandom,1,0,0,0,0.793450685622763,,,,,,,,43,\n");
}

TEST(Summarize, BootstrapsErtInEvaluationsFromTheExperimentsSeed) {
  const std::vector<TRunRow> rows = LargerTable();
  const std::vector<TSummaryRow> summary = Summarize(rows, 5);
  ASSERT_EQ(summary.size(), 5u);
  // The same resamples again, drawn here: per resample 20 repeat indices from the
  // cell's seed, shared by the methods; limits the 25th and 976th sorted values.
  zp::TRandom random(BootstrapSeed(5, 8));
  std::vector<std::vector<double>> ert(3);
  for (int b = 0; b < 1000; ++b) {
    std::vector<int32_t> drawn(20);
    for (int32_t& i : drawn) i = random.RandomInt(20);
    for (size_t m = 0; m < 3; ++m) {
      double spent = 0, hits = 0;
      for (const int32_t i : drawn) {
        const auto run = std::find_if(rows.begin(), rows.end(), [&](const TRunRow& r) {
          return r.Size == 8 && r.Repeat == i && r.Method == kMethodOrder[m == 0 ? 0 : m == 1 ? 2 : 4];
        });
        spent += static_cast<double>(SpentEvaluations(*run));
        hits += run->HitGeneration.has_value();
      }
      ert[m].push_back(hits > 0 ? spent / hits : std::numeric_limits<double>::infinity());
    }
  }
  for (size_t m = 0; m < 3; ++m) {
    std::sort(ert[m].begin(), ert[m].end());
    ASSERT_TRUE(summary[m].ErtInterval.has_value());
    EXPECT_EQ(summary[m].ErtInterval->Low, ert[m][24]);
    EXPECT_EQ(summary[m].ErtInterval->High, ert[m][975]);
    EXPECT_LE(summary[m].ErtInterval->Low, *summary[m].ErtEvaluations);
    EXPECT_GE(summary[m].ErtInterval->High, *summary[m].ErtEvaluations);
  }
  // Roulette's two hits are often missing from a resample: its upper limit is infinite.
  EXPECT_EQ(summary[0].ErtInterval->High, std::numeric_limits<double>::infinity());
  EXPECT_NE(SummaryCsv(summary).find(",inf,"), std::string::npos);
  // Without a hit there is no ERT and so no interval.
  EXPECT_FALSE(summary[3].ErtInterval.has_value());
  // Another seed draws other resamples; no seed, no intervals.
  EXPECT_NE(Summarize(rows, 6)[2].ErtInterval->Low, summary[2].ErtInterval->Low);
  EXPECT_FALSE(Summarize(rows)[1].ErtInterval.has_value());
}

TEST(ComparisonsCsv, WorkedTable) {
  // McNemar: roulette/tournament discordant in repeat 0 only (b 0, c 1), roulette/elitist
  // in 0 (c), 1 (b) and 3 (c), tournament/elitist in 1 (b) and 3 (c); odds-ratio limits agree
  // with scipy's to 3e-11.
  // Wilcoxon on lengths with a miss as 101: roulette 101 0 90 101, tournament 40 70 20 101,
  // elitist 30 101 50 60. Roulette - tournament 61 -70 70 0: ranks 1 2.5 2.5, T = 2.5, exact
  // p 1 (wilcox.exact). A12 of roulette against tournament: 0 below all four, 90 below 101,
  // 101 ties 101 twice: 6 of 16. All eight defined tests form one Holm family.
  EXPECT_EQ(ComparisonsCsv(Compare(Table())),
            "problem,size,config,method_a,method_b,test,n,a_better,b_better,statistic,p_value,p_holm,effect,effect_low,"
            "effect_high\n"
            "nqueens,8,0,smRoulette,smTournament,mcnemar_exact,1,0,1,0,1,1,0,0,39\n"
            "nqueens,8,0,smRoulette,smElitist,mcnemar_exact,3,1,2,1,1,1,0.5,0.00847498034911153,9.60452988472286\n"
            "nqueens,8,0,smTournament,smElitist,mcnemar_exact,2,1,1,1,1,1,1,0.0127393670836666,78.4968353162628\n"
            "nqueens,8,0,smRoulette,smTournament,wilcoxon_signed_rank,3,1,2,2.5,1,1,0.375,,\n"
            "nqueens,8,0,smRoulette,smElitist,wilcoxon_signed_rank,4,1,3,4,0.875,1,0.375,,\n"
            "nqueens,8,0,smTournament,smElitist,wilcoxon_signed_rank,4,2,2,5,1,1,0.53125,,\n");
}

TEST(Compare, OneHolmFamilyPerQueenCountOverBothTestsLeavingUndefinedOnesOut) {
  const std::vector<TComparisonRow> rows = Compare(LargerTable());
  // Eight queens: six defined tests. Raw p (scipy, wilcox.exact) in file order:
  // 2^-16, 2^-17 x 10, 1, 0.0005950927734375, 0.0007076263427734375, 0.0024013519287109375.
  ASSERT_EQ(rows.size(), 8u);
  const double raw[] = {std::ldexp(1.0, -16), 10 * std::ldexp(1.0, -17), 1,
                        0.0005950927734375,   0.0007076263427734375,     0.0024013519287109375};
  const double holm[] = {6 * raw[0], 5 * raw[1], 1, 4 * raw[3], 4 * raw[3], 2 * raw[5]};
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_DOUBLE_EQ(*rows[i].PValue, raw[i]) << i;
    EXPECT_DOUBLE_EQ(*rows[i].PHolm, holm[i]) << i;
  }
  // Ten queens: random and elitist both miss their one repeat, so neither test is
  // defined: counts only, every other field empty, and no family member.
  for (size_t i = 6; i < 8; ++i) {
    EXPECT_EQ(rows[i].Size, 10);
    EXPECT_EQ(rows[i].N, 0);
    EXPECT_FALSE(rows[i].Statistic || rows[i].PValue || rows[i].PHolm || rows[i].Effect || rows[i].EffectLow);
  }
  EXPECT_EQ(ComparisonsCsv({rows[6], rows[7]}),
            std::string(kComparisonsCsvHeader) +
                "\nnqueens,10,0,smRandom,smElitist,mcnemar_exact,0,0,0,,,,,,\n"
                "nqueens,10,0,smRandom,smElitist,wilcoxon_signed_rank,0,0,0,,,,,,\n");
}

TEST(SummaryAndComparisons, DependOnlyOnTheRowsNotTheirOrder) {
  std::vector<TRunRow> rows = LargerTable();
  std::reverse(rows.begin(), rows.end());
  std::rotate(rows.begin(), rows.begin() + 5, rows.end());
  EXPECT_EQ(SummaryCsv(Summarize(rows, 3)), SummaryCsv(Summarize(LargerTable(), 3)));
  EXPECT_EQ(ComparisonsCsv(Compare(rows)), ComparisonsCsv(Compare(LargerTable())));
}

TEST(ComparisonsCsv, HeaderOnlyBelowTwoMethods) {
  std::vector<TRunRow> rows{MakeRun(8, 0, E, 5, 5, 28), MakeRun(8, 1, E, kMiss, 100, 27),
                            MakeRun(8, 0, TGASelectionMethod::smCustom, 3, 3, 28)};  // never a workbench method
  EXPECT_EQ(ComparisonsCsv(Compare(rows)), std::string(kComparisonsCsvHeader) + "\n");
  EXPECT_EQ(Summarize(rows).size(), 1u);
  EXPECT_EQ(SummaryCsv({}), std::string(kSummaryCsvHeader) + "\n");
}

TEST(Compare, PairsRunsByRepeatAndSkipsUnpairedOnes) {
  // Repeat 5 has only a roulette row; pairing it with anything would misalign the tests.
  std::vector<TRunRow> rows;
  for (int32_t r = 0; r < 8; ++r) {
    rows.push_back(MakeRun(8, r, R, kMiss, 100, 26));
    if (r != 5) rows.push_back(MakeRun(8, r, E, 30, 30, 28));
  }
  const std::vector<TComparisonRow> comparisons = Compare(rows);
  ASSERT_EQ(comparisons.size(), 2u);
  // Seven discordant pairs, all one way: p = 2 / 2^7; Holm over the two tests.
  EXPECT_EQ(comparisons[0].N, 7);
  EXPECT_EQ(comparisons[0].BBetter, 7);
  EXPECT_EQ(*comparisons[0].Statistic, 0);
  EXPECT_DOUBLE_EQ(*comparisons[0].PValue, 1.0 / 64);
  // Seven equal differences of 71, all one way: exact p = 2 / 2^7 as well.
  EXPECT_EQ(comparisons[1].Test, TPairedTest::ptWilcoxonSignedRank);
  EXPECT_DOUBLE_EQ(*comparisons[1].PValue, 1.0 / 64);
  EXPECT_DOUBLE_EQ(*comparisons[1].PHolm, 2.0 / 64);
  EXPECT_FALSE(comparisons[1].AWins);
  // A12 takes all eight roulette runs: none shorter than an elitist run.
  EXPECT_EQ(*comparisons[1].Effect, 0);
}

TEST(ReportTable, ListsRatesAndEachDifferenceWinnerFirst) {
  const std::vector<TRunRow> rows = LargerTable();
  const std::string table = ReportTable(Summarize(rows), Compare(rows));
  // Tournament: 870 generations over 19 hits; elitist: 1064 over 19, median hit 51.
  // Elitist beats roulette 18 to 1 where they differ: odds ratio 18, limits turned
  // round from roulette's (scipy: 1 / 0.3518640625953063 and 1 / 0.0013334044038966774).
  EXPECT_EQ(table,
            "problem      size  method                       hits   rate  95% interval      ERT gens  median gens\n"
            "nqueens         8  smRoulette                   2/20  0.100  [0.028, 0.301]       945.0         45.0\n"
            "nqueens         8  smTournament                19/20  0.950  [0.764, 0.991]        45.8         40.0\n"
            "nqueens         8  smElitist                   19/20  0.950  [0.764, 0.991]        56.0         51.0\n"
            "nqueens        10  smRandom                      0/1  0.000  [0.000, 0.793]           -            -\n"
            "nqueens        10  smElitist                     0/1  0.000  [0.000, 0.793]           -            -\n"
            "8 queens:\n"
            "  Tournament beats Roulette on hits: 19 vs 2 of 20 (17 vs 0 where they differ), odds ratio inf "
            "[4.13, inf], p_holm <0.0001\n"
            "  Elitist beats Roulette on hits: 19 vs 2 of 20 (18 vs 1 where they differ), odds ratio 18.0 "
            "[2.84, 750], p_holm 0.0004\n"
            "  Tournament beats Roulette on run length: Â12 0.93, p_holm 0.0024\n"
            "  Elitist beats Roulette on run length: Â12 0.93, p_holm 0.0024\n"
            "  Tournament beats Elitist on run length: Â12 0.86, p_holm 0.0048\n"
            "  Not different (p_holm ≥ 0.05): none\n"
            "10 queens:\n"
            "  Not different (p_holm ≥ 0.05): Random–Elitist\n");
}

// Odds ratios with three significant digits whatever their size (through the report's lines).
TEST(ReportTable, OddsRatiosHaveThreeSignificantDigits) {
  std::vector<TRunRow> rows;
  // b hits alone in 31 repeats and a in 1: odds ratio 31 with limits 5.17 and 1260 (scipy:
  // binomtest(1, 32).proportion_ci(method='exact'), turned round).
  for (int32_t r = 0; r < 32; ++r) {
    rows.push_back(MakeRun(9, r, R, r == 0 ? std::optional<int32_t>(5) : kMiss, 100, 35));
    rows.push_back(MakeRun(9, r, E, r == 0 ? kMiss : std::optional<int32_t>(50), 50, 36));
  }
  const std::string table = ReportTable(Summarize(rows), Compare(rows));
  EXPECT_NE(table.find("Elitist beats Roulette on hits: 31 vs 1 of 32 (31 vs 1 where they differ), odds ratio 31.0 "
                       "[5.17, 1260], p_holm <0.0001\n"),
            std::string::npos)
      << table;
}

TEST(DifferingMethods, NamesThePairsOfTheTableFromEitherSide) {
  const std::vector<TComparisonRow> comparisons = Compare(LargerTable());
  using M = TGASelectionMethod;
  EXPECT_EQ(DifferingMethods(comparisons, TCell{"nqueens", 8, 0}, M::smRoulette),
            (std::vector<M>{M::smTournament, M::smElitist}));
  EXPECT_EQ(DifferingMethods(comparisons, TCell{"nqueens", 8, 0}, M::smElitist),
            (std::vector<M>{M::smRoulette, M::smTournament}));
  // In the smaller table no test differs after Holm.
  EXPECT_TRUE(DifferingMethods(Compare(Table()), TCell{"nqueens", 8, 0}, M::smRoulette).empty());
  EXPECT_TRUE(DifferingMethods(comparisons, TCell{"nqueens", 10, 0}, M::smRandom).empty());
  EXPECT_TRUE(DifferingMethods(comparisons, TCell{"nqueens", 9, 0}, M::smRoulette).empty());
}

TEST(ClockText, MinutesThenHours) {
  EXPECT_EQ(ClockText(0), "0:00");
  EXPECT_EQ(ClockText(59.6), "1:00");
  EXPECT_EQ(ClockText(3599.4), "59:59");
  EXPECT_EQ(ClockText(3600), "1:00:00");
  EXPECT_EQ(ClockText(36061), "10:01:01");
}
