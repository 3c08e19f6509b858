#include <gtest/gtest.h>

#include "experiment/RecordedRuns.h"
#include "experiment/ReportDocument.h"
#include "experiment/TwoRunExperiment.h"

namespace zp::experiment {
namespace {

TReportContent TwoRunReport() {
  TReportContent report;
  report.Experiment.Design.Sizes = {4};
  report.Experiment.Design.Methods = {ga::TGASelectionMethod::smRoulette, ga::TGASelectionMethod::smElitist};
  report.Experiment.Design.Label = "a_b & c";
  report.Experiment.Parameters = {{"version", "\"1.0+abc\""}};
  const auto rows = ParseRunsCsv(fixture::kTwoRunRunsCsv);
  report.Cells.push_back({{"nqueens", 4, 0}, Summarize(rows, 0), Compare(rows), {{"ecdf-nqueens-4", "An ECDF."}}});
  return report;
}

TEST(ReportLatex, BooktabsTablesWithTheBestInBoldAndTextEscaped) {
  const std::string tex = ReportLatex(TwoRunReport());
  EXPECT_NE(tex.find("% table summary-nqueens-4-c0\n\\begin{table}[htbp]"), std::string::npos) << tex;
  EXPECT_NE(tex.find("% table mcnemar-nqueens-4-c0"), std::string::npos);
  EXPECT_NE(tex.find("% table wilcoxon-nqueens-4-c0"), std::string::npos);
  EXPECT_NE(tex.find("\\toprule\nMethod & Hits & Hit rate"), std::string::npos);
  EXPECT_NE(tex.find("Elitist & 2/2 & \\textbf{1.000} & [0.342, 1.000] & \\textbf{32} & [16, 48] & \\textbf{1.0} \\\\"),
            std::string::npos)
      << tex;
  EXPECT_NE(tex.find("p\\_holm"), std::string::npos);
  EXPECT_EQ(tex.find("\\input"), std::string::npos);

  const std::string standalone = ReportStandaloneLatex(TwoRunReport());
  EXPECT_NE(standalone.find("\\title{Report: a\\_b \\& c}"), std::string::npos) << standalone;
  EXPECT_NE(standalone.find("\\input{report.tex}"), std::string::npos);
  EXPECT_NE(standalone.find("\\includegraphics[width=\\textwidth]{ecdf-nqueens-4.pdf}\n\\caption{An ECDF.}"),
            std::string::npos);
}

TEST(ReportDocument, CellCaptionsNameTheVariedSettingsOfASweep) {
  TExperimentDesign design;
  EXPECT_EQ(ReportCellCaption({"nqueens", 8, 0}, design), "8 queens");
  design.Settings[0] = {queens::ParseSettingValue(queens::TSettingName::snPopulation, "2n"),
                        queens::ParseSettingValue(queens::TSettingName::snPopulation, "4n")};
  design.Settings[1] = {queens::ParseSettingValue(queens::TSettingName::snCrossover, "0.5"),
                        queens::ParseSettingValue(queens::TSettingName::snCrossover, "0.9")};
  EXPECT_EQ(ReportCellCaption({"nqueens", 8, 0}, design),
            "8 queens, configuration 0 (population 2n and crossover 0.5)");
  EXPECT_EQ(ReportCellCaption({"onemax", 64, 3}, design),
            "OneMax, size 64, configuration 3 (population 4n and crossover 0.9)");
}

TEST(ReportDocument, CdCaptionGivesTheTestAndWarnsOfConfigurations) {
  TFriedman f;
  f.Instances = 8;
  f.Methods = 5;
  f.Statistic = 25.620253164557;
  f.PValue = 3.77e-05;
  const std::string caption = CdCaption(f, 2.1564, false);
  EXPECT_NE(caption.find("N = 8 instances"), std::string::npos) << caption;
  EXPECT_NE(caption.find("chi-squared 25.620 with 4 degrees of freedom, p <0.0001"), std::string::npos) << caption;
  EXPECT_NE(caption.find("CD = 2.156"), std::string::npos) << caption;
  EXPECT_EQ(caption.find("Demšar"), std::string::npos);
  EXPECT_NE(CdCaption(f, 2.1564, true).find("not independent data sets in Demšar's sense"), std::string::npos);
}

}  // namespace
}  // namespace zp::experiment
