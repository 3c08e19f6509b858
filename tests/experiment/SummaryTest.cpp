// summary.csv, comparisons.csv and the stdout table of a small hand-worked experiment.
// Interval and p-value texts marked "scipy" come from Debian's python3-scipy 1.10.1
// (binomtest(k, n).proportion_ci(method='wilson'), wilcoxon(d, correction=True, method='approx'))
// printed with 15 significant digits; the tests do not need scipy.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "experiment/Comparisons.h"
#include "experiment/Report.h"
#include "experiment/Summary.h"

using namespace zp::experiment;
using zp::ga::TGASelectionMethod;

namespace {

TRunRow MakeRun(int32_t queens, int32_t repeat, TGASelectionMethod method, bool solved, int32_t generations,
                double best_ever) {
  TRunRow row;
  row.Queens = queens;
  row.Repeat = repeat;
  row.Method = method;
  row.Solved = solved;
  row.Generations = generations;
  row.Evaluations = int64_t{4} * queens * (1 + generations);
  row.BestEver = best_ever;
  return row;
}

// Eight queens (cutoff 28), 100 generations, four repeats of three methods; ten queens, one run of one.
//   repeat  roulette        tournament     elitist
//   0       no  100  26     yes  40  28    yes  30  28
//   1       no  100  27     yes  70  28    no  100  27
//   2       yes  90  28     yes  20  28    yes  50  28
//   3       no  100  25     no  100  27    yes  60  28
std::vector<TRunRow> Table() {
  constexpr auto R = TGASelectionMethod::smRoulette;
  constexpr auto T = TGASelectionMethod::smTournament;
  constexpr auto E = TGASelectionMethod::smElitist;
  return {MakeRun(8, 0, R, false, 100, 26),
          MakeRun(8, 0, T, true, 40, 28),
          MakeRun(8, 0, E, true, 30, 28),
          MakeRun(8, 1, R, false, 100, 27),
          MakeRun(8, 1, T, true, 70, 28),
          MakeRun(8, 1, E, false, 100, 27),
          MakeRun(8, 2, R, true, 90, 28),
          MakeRun(8, 2, T, true, 20, 28),
          MakeRun(8, 2, E, true, 50, 28),
          MakeRun(8, 3, R, false, 100, 25),
          MakeRun(8, 3, T, false, 100, 27),
          MakeRun(8, 3, E, true, 60, 28),
          MakeRun(10, 0, TGASelectionMethod::smRandom, false, 100, 43)};
}

}  // namespace

TEST(SummaryCsv, WorkedTable) {
  // Roulette: ERT 390 / 1 generations, 32 x 394 evaluations; sd of 26 27 28 25 is sqrt(5/3).
  // Tournament: ERT 230 / 3, 32 x 234 / 3; solved 20 40 70 give quartiles 30 40 55.
  // Elitist: ERT 240 / 3, 32 x 244 / 3; solved 30 50 60 give 40 50 55.
  // Ten queens: one unsolved run, so no ERT, no quartiles and no sd.
  EXPECT_EQ(SummaryCsv(Summarize(Table())),
            "queens,method,runs,solved,success_rate,success_low,success_high,ert_generations,ert_evaluations,"
            "median_generations,q1_generations,q3_generations,mean_best_ever,sd_best_ever\n"
            "8,smRoulette,4,1,0.25,0.0455872608097005,0.699358157417598,390,12608,90,90,90,26.5,1.29099444873581\n"
            "8,smTournament,4,3,0.75,0.300641842582402,0.954412739190299,76.6666666666667,2496,40,30,55,27.75,0.5\n"
            "8,smElitist,4,3,0.75,0.300641842582402,0.954412739190299,80,2602.66666666667,50,40,55,27.75,0.5\n"
            "10,smRandom,1,0,0,0,0.793450685622763,,,,,,43,\n");
}

TEST(ComparisonsCsv, WorkedTable) {
  // McNemar: roulette/tournament and roulette/elitist have discordant 0 and 2 (p = 2 / 4);
  // tournament/elitist 1 and 1 (p = 2 x 3/4, capped). Holm leaves 1 1 1 at 1.
  // Wilcoxon: d = 60 30 70 (0 dropped) and 70 40 40 (0 dropped) are all positive, so T = 0;
  // tournament - elitist = 10 -30 -30 40 balances (W+ = W- = 5). Holm: 0.1736 x 3 lifts both.
  EXPECT_EQ(ComparisonsCsv(Compare(Table())),
            "queens,method_a,method_b,test,statistic,p_value,p_holm\n"
            "8,smRoulette,smTournament,mcnemar_exact,0,0.5,1\n"
            "8,smRoulette,smElitist,mcnemar_exact,0,0.5,1\n"
            "8,smTournament,smElitist,mcnemar_exact,1,1,1\n"
            "8,smRoulette,smTournament,wilcoxon_signed_rank,0,0.18144920772142,0.520704499667765\n"
            "8,smRoulette,smElitist,wilcoxon_signed_rank,0,0.173568166555922,0.520704499667765\n"
            "8,smTournament,smElitist,wilcoxon_signed_rank,5,1,1\n");
}

TEST(SummaryAndComparisons, DependOnlyOnTheRowsNotTheirOrder) {
  std::vector<TRunRow> rows = Table();
  std::reverse(rows.begin(), rows.end());
  std::rotate(rows.begin(), rows.begin() + 5, rows.end());
  EXPECT_EQ(SummaryCsv(Summarize(rows)), SummaryCsv(Summarize(Table())));
  EXPECT_EQ(ComparisonsCsv(Compare(rows)), ComparisonsCsv(Compare(Table())));
}

TEST(ComparisonsCsv, HeaderOnlyBelowTwoMethods) {
  std::vector<TRunRow> rows{MakeRun(8, 0, TGASelectionMethod::smElitist, true, 5, 28),
                            MakeRun(8, 1, TGASelectionMethod::smElitist, false, 100, 27),
                            MakeRun(8, 0, TGASelectionMethod::smCustom, true, 3, 28)};  // never a workbench method
  EXPECT_EQ(ComparisonsCsv(Compare(rows)), "queens,method_a,method_b,test,statistic,p_value,p_holm\n");
  EXPECT_EQ(Summarize(rows).size(), 1u);
  EXPECT_EQ(SummaryCsv({}), std::string(kSummaryCsvHeader) + "\n");
}

TEST(Compare, PairsRunsByRepeatAndSkipsUnpairedOnes) {
  // Repeat 5 has only a roulette row; pairing it with anything would misalign the tests.
  std::vector<TRunRow> rows;
  for (int32_t r = 0; r < 8; ++r) {
    rows.push_back(MakeRun(8, r, TGASelectionMethod::smRoulette, false, 100, 26));
    if (r != 5) rows.push_back(MakeRun(8, r, TGASelectionMethod::smElitist, true, 30, 28));
  }
  const std::vector<TComparisonRow> comparisons = Compare(rows);
  ASSERT_EQ(comparisons.size(), 2u);
  // Seven discordant pairs, all one way: p = 2 / 2^7.
  EXPECT_EQ(comparisons[0].Result.Statistic, 0);
  EXPECT_DOUBLE_EQ(comparisons[0].Result.PValue, 1.0 / 64);
  EXPECT_DOUBLE_EQ(comparisons[0].PHolm, 1.0 / 64);
  // Seven equal differences of 70: T = 0, variance 7*8*15/24 - (343 - 7)/48 = 28, z = (14 - 0.5) / sqrt(28).
  EXPECT_EQ(comparisons[1].Test, TPairedTest::ptWilcoxonSignedRank);
  EXPECT_NEAR(comparisons[1].Result.PValue, std::erfc(13.5 / std::sqrt(28.0) / std::sqrt(2.0)), 1e-12);
}

TEST(ReportTable, ListsRatesAndTheDifferingPairs) {
  std::vector<TRunRow> rows = Table();
  for (int32_t r = 4; r < 12; ++r) {
    rows.push_back(MakeRun(8, r, TGASelectionMethod::smRoulette, false, 100, 26));
    rows.push_back(MakeRun(8, r, TGASelectionMethod::smTournament, true, 40, 28));
    rows.push_back(MakeRun(8, r, TGASelectionMethod::smElitist, true, 40 + r, 28));
  }
  const std::string table = ReportTable(Summarize(rows), Compare(rows));
  // Tournament: 550 generations over 11 solved; elitist: 620 over 11, solved median 48 of 30 44..51 50 60.
  // McNemar 0 against 10 discordant (p = 2 / 2^10, x 3 by Holm); Wilcoxon p 0.00209 and 0.00384 (scipy),
  // x 3 and x 2 by Holm; tournament/elitist do not differ (McNemar 1 against 1, Wilcoxon p 0.136).
  EXPECT_EQ(table,
            "queens  method                     solved   rate  95% interval      ERT gens  median gens\n"
            "     8  smRoulette                   1/12  0.083  [0.015, 0.354]      1190.0         90.0\n"
            "     8  smTournament                11/12  0.917  [0.646, 0.985]        50.0         40.0\n"
            "     8  smElitist                   11/12  0.917  [0.646, 0.985]        56.4         48.0\n"
            "    10  smRandom                      0/1  0.000  [0.000, 0.793]           -            -\n"
            "8 queens, pairs differing (Holm p < 0.05):\n"
            "  smRoulette vs smTournament: mcnemar_exact p_holm 0.0059, wilcoxon_signed_rank p_holm 0.0063\n"
            "  smRoulette vs smElitist: mcnemar_exact p_holm 0.0059, wilcoxon_signed_rank p_holm 0.0077\n"
            "10 queens, pairs differing (Holm p < 0.05): none\n");
}

TEST(DifferingMethods, NamesThePairsOfTheTableFromEitherSide) {
  std::vector<TRunRow> rows = Table();
  for (int32_t r = 4; r < 12; ++r) {
    rows.push_back(MakeRun(8, r, TGASelectionMethod::smRoulette, false, 100, 26));
    rows.push_back(MakeRun(8, r, TGASelectionMethod::smTournament, true, 40, 28));
    rows.push_back(MakeRun(8, r, TGASelectionMethod::smElitist, true, 40 + r, 28));
  }
  const std::vector<TComparisonRow> comparisons = Compare(rows);
  using M = TGASelectionMethod;
  EXPECT_EQ(DifferingMethods(comparisons, 8, M::smRoulette), (std::vector<M>{M::smTournament, M::smElitist}));
  EXPECT_EQ(DifferingMethods(comparisons, 8, M::smElitist), std::vector<M>{M::smRoulette});
  EXPECT_TRUE(DifferingMethods(comparisons, 10, M::smRandom).empty());
  EXPECT_TRUE(DifferingMethods(comparisons, 9, M::smRoulette).empty());
}

TEST(ClockText, MinutesThenHours) {
  EXPECT_EQ(ClockText(0), "0:00");
  EXPECT_EQ(ClockText(59.6), "1:00");
  EXPECT_EQ(ClockText(3599.4), "59:59");
  EXPECT_EQ(ClockText(3600), "1:00:00");
  EXPECT_EQ(ClockText(36061), "10:01:01");
}
