#include "experiment/ReportDocument.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <functional>

#include "engine/SelectionMethods.h"
#include "experiment/Configurations.h"
#include "workbench/ProblemCatalogue.h"
#include "workbench/SettingValues.h"

namespace zp::experiment {

namespace {

// Fixed-point text; to_chars ignores the locale, unlike printf.
std::string Fixed(double value, int decimals) {
  if (std::isinf(value)) return value > 0 ? "inf" : "-inf";
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return std::string(buffer, result.ptr);
}

// Three significant digits, as odds ratios are read.
std::string Significant3(double value) {
  if (std::isinf(value)) return "inf";
  if (value == 0) return "0";
  const int digits = std::max(0, 2 - static_cast<int>(std::floor(std::log10(std::fabs(value)))));
  return Fixed(value, digits);
}

std::string PText(const std::optional<double>& p) {
  if (!p) return "-";
  return *p < 0.0001 ? "<0.0001" : Fixed(*p, 4);
}

std::string Unquoted(const std::string& json) {
  return json.size() >= 2 && json.front() == '"' && json.back() == '"' ? json.substr(1, json.size() - 2) : json;
}

std::string ParameterText(const TStoredExperiment& Experiment, const std::string& Key) {
  for (const auto& [name, value] : Experiment.Parameters)
    if (name == Key) return Unquoted(value);
  return "";
}

std::string MethodCaption(ga::TGASelectionMethod Method) {
  const auto place = ga::MethodPlace(Method);
  return place ? std::string(ga::kSelectionMethods[*place].Caption) : ga::ToString(Method);
}

std::string JoinedList(const std::vector<std::string>& Items) {
  std::string text;
  for (size_t i = 0; i < Items.size(); ++i) {
    if (i > 0) text += i + 1 == Items.size() ? (Items.size() > 2 ? ", and " : " and ") : ", ";
    text += Items[i];
  }
  return text;
}

// What a setting reads in the paragraph, and its value when no list is given (the batch's defaults).
constexpr std::array<const char*, queens::kSettingCount> kSettingWords{
    "population",       "crossover probability", "mutation probability", "inversion probability",
    "tournament field", "elitist share",         "crossover method"};
constexpr std::array<const char*, queens::kSettingCount> kSettingDefaults{"4n", "0.98", "1/L",           "0.1",
                                                                          "4",  "0.1",  "cmGeneBoundary"};

// One table's cells as text, with the columns whose best value is bold.
struct TTable {
  std::vector<std::string> Header;
  std::vector<bool> RightAligned;
  std::vector<std::vector<std::string>> Rows;
  std::vector<std::vector<bool>> Bold;  // per row and column
};

// The best of a column by Better (a strict order), every row that equals it bold; none when no row has a value.
template <typename T>
void MarkBest(TTable& Table, size_t Column, const std::vector<std::optional<T>>& Values,
              const std::function<bool(T, T)>& Better) {
  std::optional<T> best;
  for (const auto& value : Values)
    if (value && (!best || Better(*value, *best))) best = value;
  if (!best) return;
  for (size_t row = 0; row < Values.size(); ++row)
    if (Values[row] && !Better(*best, *Values[row]) && !Better(*Values[row], *best)) Table.Bold[row][Column] = true;
}

TTable SummaryTable(const TReportCell& Cell) {
  TTable table;
  table.Header = {"Method", "Hits", "Hit rate", "95% CI", "ERT (evaluations)", "95% CI", "Median length"};
  table.RightAligned = {false, true, true, true, true, true, true};
  std::vector<std::optional<double>> rates, erts, medians;
  for (const TSummaryRow& row : Cell.Summary) {
    const std::string rate_ci =
        row.Success ? "[" + Fixed(row.Success->Low, 3) + ", " + Fixed(row.Success->High, 3) + "]" : "-";
    const std::string ert_ci =
        row.ErtInterval ? "[" + Fixed(row.ErtInterval->Low, 0) + ", " + Fixed(row.ErtInterval->High, 0) + "]" : "-";
    const std::optional<double> median = row.HitGenerations ? std::optional(row.HitGenerations->Median) : std::nullopt;
    table.Rows.push_back({MethodCaption(row.Method), std::to_string(row.Hits) + "/" + std::to_string(row.Runs),
                          Fixed(row.SuccessRate, 3), rate_ci, row.ErtEvaluations ? Fixed(*row.ErtEvaluations, 0) : "-",
                          ert_ci, median ? Fixed(*median, 1) : "-"});
    table.Bold.emplace_back(table.Header.size(), false);
    rates.push_back(row.SuccessRate);
    erts.push_back(row.ErtEvaluations);
    medians.push_back(median);
  }
  const std::function<bool(double, double)> higher = std::greater<double>(), lower = std::less<double>();
  MarkBest(table, 2, rates, higher);
  MarkBest(table, 4, erts, lower);
  MarkBest(table, 6, medians, lower);
  return table;
}

// One test's rows of a cell: McNemar's with the odds ratio and its limits, Wilcoxon's with A12.
TTable PairwiseTable(const TReportCell& Cell, TPairedTest Test) {
  const bool mcnemar = Test == TPairedTest::ptMcNemarExact;
  TTable table;
  table.Header = {"Method A", "Method B", "n", mcnemar ? "min(b, c)" : "T", "p", "p_holm"};
  table.RightAligned = {false, false, true, true, true, true};
  if (mcnemar) {
    table.Header.insert(table.Header.end(), {"Odds ratio", "95% CI"});
    table.RightAligned.insert(table.RightAligned.end(), {true, true});
  } else {
    table.Header.push_back("A12");
    table.RightAligned.push_back(true);
  }
  table.Header.push_back("Better");
  table.RightAligned.push_back(false);
  for (const TComparisonRow& row : Cell.Comparisons) {
    if (row.Test != Test) continue;
    std::vector<std::string> cells{MethodCaption(row.MethodA), MethodCaption(row.MethodB),
                                   std::to_string(row.N),      row.Statistic ? Fixed(*row.Statistic, 1) : "-",
                                   PText(row.PValue),          PText(row.PHolm)};
    if (mcnemar) {
      cells.push_back(row.Effect ? Significant3(*row.Effect) : "-");
      cells.push_back(row.EffectLow && row.EffectHigh
                          ? "[" + Significant3(*row.EffectLow) + ", " + Significant3(*row.EffectHigh) + "]"
                          : "-");
    } else {
      cells.push_back(row.Effect ? Fixed(*row.Effect, 2) : "-");
    }
    const bool differs = row.PHolm && *row.PHolm < 0.05;
    cells.push_back(differs ? MethodCaption(row.AWins ? row.MethodA : row.MethodB) : "-");
    table.Rows.push_back(std::move(cells));
    table.Bold.emplace_back(table.Header.size(), false);
  }
  return table;
}

std::string MarkdownTable(const TTable& Table) {
  auto line = [](const std::vector<std::string>& cells) {
    std::string text = "|";
    for (const std::string& cell : cells) text += " " + cell + " |";
    return text + "\n";
  };
  std::vector<std::string> rule;
  for (bool right : Table.RightAligned) rule.push_back(right ? "---:" : "---");
  std::string text = line(Table.Header) + line(rule);
  for (size_t r = 0; r < Table.Rows.size(); ++r) {
    std::vector<std::string> cells = Table.Rows[r];
    for (size_t c = 0; c < cells.size(); ++c)
      if (Table.Bold[r][c]) cells[c] = "**" + cells[c] + "**";
    text += line(cells);
  }
  return text;
}

std::string LatexEscaped(const std::string& Text) {
  std::string out;
  for (char c : Text) {
    switch (c) {
      case '_':
        out += "\\_";
        break;
      case '%':
        out += "\\%";
        break;
      case '&':
        out += "\\&";
        break;
      case '#':
        out += "\\#";
        break;
      case '$':
        out += "\\$";
        break;
      case '{':
        out += "\\{";
        break;
      case '}':
        out += "\\}";
        break;
      case '<':
        out += "$<$";
        break;
      case '>':
        out += "$>$";
        break;
      case '~':
        out += "\\textasciitilde{}";
        break;
      case '^':
        out += "\\textasciicircum{}";
        break;
      case '\\':
        out += "\\textbackslash{}";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Method captions take the room of a table's widest column; two lines for two words keep it
// narrow (Split: a text column's cell; numbers and intervals stay on one line).
std::string LatexCell(const std::string& Text, bool Bold, bool Split) {
  std::string cell = LatexEscaped(Text);
  if (Split && cell.find(' ') != std::string::npos && cell.size() > 12) {
    const size_t space = cell.find(' ');
    cell = "\\begin{tabular}[t]{@{}l@{}}" + cell.substr(0, space) + "\\\\" + cell.substr(space + 1) + "\\end{tabular}";
  }
  return Bold ? "\\textbf{" + cell + "}" : cell;
}

std::string LatexTabular(const TTable& Table) {
  std::string chosen;
  for (bool right : Table.RightAligned) chosen += right ? "r" : "l";
  std::string text = "\\begin{tabular}{@{}" + chosen + "@{}}\n\\toprule\n";
  auto line = [](const std::vector<std::string>& cells) {
    std::string out;
    for (size_t c = 0; c < cells.size(); ++c) out += (c ? " & " : "") + cells[c];
    return out + " \\\\\n";
  };
  std::vector<std::string> header;
  for (const std::string& h : Table.Header) header.push_back(LatexEscaped(h));
  text += line(header) + "\\midrule\n";
  for (size_t r = 0; r < Table.Rows.size(); ++r) {
    std::vector<std::string> cells;
    for (size_t c = 0; c < Table.Rows[r].size(); ++c)
      cells.push_back(LatexCell(Table.Rows[r][c], Table.Bold[r][c], !Table.RightAligned[c]));
    text += line(cells);
  }
  return text + "\\bottomrule\n\\end{tabular}\n";
}

std::string CellTag(const TCell& Cell) {
  const auto chosen = queens::ParseProblemName(Cell.Problem);
  return (chosen ? chosen->FileTag() : Cell.Problem) + "-" + std::to_string(Cell.Size) + "-c" +
         std::to_string(Cell.Config);
}

}  // namespace

std::string ReportCellCaption(const TCell& Cell, const TExperimentDesign& Design) {
  std::string text = CellCaption(Cell);
  if (Design.ConfigCount() < 2) return text;
  if (Cell.Config == 0) text += ", configuration 0";
  const auto places = Design.ConfigPlaces(Cell.Config);
  std::vector<std::string> values;
  for (size_t i = 0; i < queens::kSettingCount; ++i)
    if (Design.Varies(static_cast<queens::TSettingName>(i)))
      values.push_back(std::string(queens::kSettingNames[i]) + " " + Design.Settings[i][places[i]].Text);
  return text + " (" + JoinedList(values) + ")";
}

namespace {

std::string SummaryCaption(const std::string& Cell) {
  return "Summary of " + Cell +
         ": hits of all runs, the hit rate with its Wilson 95% interval, ERT in evaluations with its bootstrap 95% "
         "interval, and the median run length in generations of the hitting runs; the best value of each column in "
         "bold.";
}

std::string PairwiseCaption(const std::string& Cell, TPairedTest Test) {
  const std::string test =
      Test == TPairedTest::ptMcNemarExact
          ? "McNemar's exact test on hit or not over the paired repeats: n discordant repeats, b where A alone hit "
            "and c where B alone did, the odds ratio b / c with its 95% interval"
          : "the Wilcoxon signed-rank test on run lengths over the paired repeats (a miss counting as G + 1 "
            "generations): n nonzero differences, the statistic T, Vargha and Delaney's A12 (above 0.5 favours A)";
  return "Pairwise comparisons on " + Cell + ", " + test +
         "; p_holm adjusted by Holm over both tests of every pair, the better method named where it is below 0.05.";
}

constexpr std::array<TPairedTest, 2> kTests{TPairedTest::ptMcNemarExact, TPairedTest::ptWilcoxonSignedRank};

TTable RanksTable(const TFriedman& Friedman, const TExperimentDesign& Design) {
  TTable table;
  table.Header = {"Method", "Average rank"};
  table.RightAligned = {false, true};
  std::vector<std::optional<double>> ranks;
  for (size_t j = 0; j < Friedman.AverageRanks.size() && j < Design.Methods.size(); ++j) {
    table.Rows.push_back({MethodCaption(Design.Methods[j]), Fixed(Friedman.AverageRanks[j], 3)});
    table.Bold.emplace_back(2, false);
    ranks.push_back(Friedman.AverageRanks[j]);
  }
  MarkBest(table, 1, ranks, std::function<bool(double, double)>(std::less<double>()));
  return table;
}

std::string RanksText(const TFriedman& Friedman, const TExperimentDesign& Design) {
  const std::optional<double> cd = CriticalDifference(Friedman.Methods, Friedman.Instances);
  std::string text =
      "The methods ranked by ERT in evaluations within each of the N = " + std::to_string(Friedman.Instances) +
      " instances (problem, size and configuration), methods without a hit tied last at their "
      "mid-rank: Friedman's chi-squared " +
      (Friedman.Statistic ? Fixed(*Friedman.Statistic, 3) : std::string("-")) + " with " +
      std::to_string(Friedman.Methods - 1) + (Friedman.Methods == 2 ? " degree" : " degrees") + " of freedom, p " +
      PText(Friedman.PValue);
  text += cd ? "; Nemenyi's critical difference " + Fixed(*cd, 3) + " at 0.05." : ".";
  if (Design.ConfigCount() > 1)
    text += " The configurations of one problem and size are not independent data sets in Demšar's sense.";
  return text + "\n";
}

}  // namespace

std::string MethodsParagraph(const TStoredExperiment& Experiment) {
  const TExperimentDesign& d = Experiment.Design;
  const std::string version = ParameterText(Experiment, "version");
  const size_t plus = version.find('+');
  const std::string program = plus == std::string::npos ? "nqueens-ga " + version
                                                        : "nqueens-ga " + version.substr(0, plus) + " (commit " +
                                                              version.substr(plus + 1) + ")";
  std::vector<std::string> problems, sizes, settings, varied, methods;
  for (const queens::TProblemChoice& p : d.Problems) problems.push_back(p.Name() + " (" + p.FuncName() + ")");
  for (int32_t size : d.Sizes) sizes.push_back(std::to_string(size));
  for (size_t i = 0; i < queens::kSettingCount; ++i) {
    std::vector<std::string> values;
    for (const queens::TSettingValue& v : d.Settings[i]) values.push_back(v.Text);
    if (values.empty()) values.push_back(kSettingDefaults[i]);
    const bool varies = d.Varies(static_cast<queens::TSettingName>(i));
    settings.push_back(std::string(kSettingWords[i]) + " " + (varies ? JoinedList(values) : values.front()));
    if (varies) varied.push_back(kSettingWords[i]);
  }
  for (ga::TGASelectionMethod m : d.Methods) methods.push_back(MethodCaption(m));
  std::string text = "The experiment was run with " + program + ". It ran the problem" +
                     (problems.size() > 1 ? "s " : " ") + JoinedList(problems) + " at size" +
                     (sizes.size() > 1 ? "s " : " ") + JoinedList(sizes) + " with the selection methods " +
                     JoinedList(methods) + ". The genetic algorithm's settings were: " + JoinedList(settings) +
                     " (n being the size and L the chromosome's bits). ";
  if (varied.empty())
    text += "No setting was varied. ";
  else
    text += "The " + JoinedList(varied) + (varied.size() > 1 ? " were" : " was") + " varied, giving " +
            std::to_string(d.ConfigCount()) +
            " configurations per problem and size, numbered from 0 with the last setting varying fastest. ";
  // What the budget comes to for each problem, size and configuration, as a range.
  int64_t fewest = 0, most = 0;
  int32_t shortest = 0, longest = 0;
  const std::vector<TResolvedConfig> configs = ResolveConfigurations(d);
  for (size_t i = 0; i < configs.size(); ++i) {
    const TResolvedConfig& c = configs[i];
    fewest = i == 0 ? c.Evaluations : std::min(fewest, c.Evaluations);
    most = i == 0 ? c.Evaluations : std::max(most, c.Evaluations);
    shortest = i == 0 ? c.Generations : std::min(shortest, c.Generations);
    longest = i == 0 ? c.Generations : std::max(longest, c.Generations);
  }
  auto range = [](int64_t low, int64_t high) {
    return low == high ? std::to_string(low) : std::to_string(low) + " to " + std::to_string(high);
  };
  if (d.Evaluations)
    text += "Each run had a budget of " + d.Evaluations->Text +
            " evaluations, that is floor(E / population) - 1 generations (" + range(shortest, longest) +
            "), a generation scoring the whole population and the start population scoring once. ";
  else
    text += "Each run had a budget of " + std::to_string(d.Generations) + " generations, that is population x (1 + " +
            std::to_string(d.Generations) + ") evaluations (" + range(fewest, most) +
            "), the start population scoring once. ";
  text += "Every method made " + std::to_string(d.Repeats) +
          " repeats per problem, size and configuration; the repeat's seed is " + kSeedFunctionName +
          ", with S = " + std::to_string(d.Seed) +
          ", every configuration and method of a repeat starting from the same start population. The random "
          "streams were " +
          queens::ToString(d.Streams) +
          (d.Streams == queens::TRandomStreams::rsShared ? " (every method draws from the repeat's seed afresh). "
                                                         : " (each method's draws go on from the method before). ");
  text +=
      "A run hits when its start population or a generation reaches the target; its length is the hit generation. "
      "Hit rates have Wilson 95% intervals. ERT is the evaluations spent by all runs over the hits, with a 95% "
      "percentile bootstrap interval from " +
      std::to_string(kBootstrapResamples) + " resamples of the repeats (the " + std::to_string(kBootstrapLowPlace) +
      "th and " + std::to_string(kBootstrapHighPlace) +
      "th sorted values; a resample without a hit has ERT inf), seeded per cell by " + kBootstrapSeedName +
      ". Within each problem, size and configuration every pair of methods was compared over the paired repeats by "
      "McNemar's exact test on hit or not, with the odds ratio of the discordant repeats, and by the Wilcoxon "
      "signed-rank test on run lengths, a run that never hit counting as G + 1 generations, with Vargha and "
      "Delaney's A12; Holm's correction was applied over both tests of every pair within each problem, size and "
      "configuration, an undefined test left out, and a difference is reported where the adjusted p is below 0.05.";
  return text;
}

std::string CdCaption(const TFriedman& Friedman, double Cd, bool Configurations) {
  std::string text = "Critical-difference diagram: the methods' average ranks by ERT in evaluations over N = " +
                     std::to_string(Friedman.Instances) +
                     " instances (problem, size and configuration), methods without a hit tied last; Friedman's "
                     "chi-squared " +
                     (Friedman.Statistic ? Fixed(*Friedman.Statistic, 3) : std::string("-")) + " with " +
                     std::to_string(Friedman.Methods - 1) + " degrees of freedom, p " + PText(Friedman.PValue) +
                     "; Nemenyi's CD = " + Fixed(Cd, 3) + " at 0.05, methods joined by a bar not told apart.";
  if (Configurations)
    text +=
        " The configurations of one problem and size are not independent data sets in Demšar's sense, so the p "
        "reads as a description, not as a test over independent instances.";
  return text;
}

std::string ReportMarkdown(const TReportContent& Report) {
  const TExperimentDesign& d = Report.Experiment.Design;
  std::string text = "# Report" + (d.Label.empty() ? std::string() : ": " + d.Label) + "\n\n## Methods\n\n" +
                     MethodsParagraph(Report.Experiment) + "\n";
  int table = 0, figure = 0;
  auto figures = [&](const std::vector<TReportFigure>& list) {
    for (const TReportFigure& f : list)
      text += "\n![" + f.Caption + "](" + f.Stem + ".png)\n\n*Figure " + std::to_string(++figure) + ". " + f.Caption +
              "*\n";
  };
  for (const TReportCell& cell : Report.Cells) {
    const std::string caption = ReportCellCaption(cell.Cell, d);
    text += "\n## " + caption + "\n\n";
    text += "*Table " + std::to_string(++table) + ". " + SummaryCaption(caption) + "*\n\n" +
            MarkdownTable(SummaryTable(cell));
    if (!cell.Comparisons.empty())
      for (TPairedTest test : kTests)
        text += "\n*Table " + std::to_string(++table) + ". " + PairwiseCaption(caption, test) + "*\n\n" +
                MarkdownTable(PairwiseTable(cell, test));
    figures(cell.Figures);
  }
  if (Report.Friedman || !Report.Figures.empty()) text += "\n## Over all instances\n";
  if (Report.Friedman)
    text += "\n" + RanksText(*Report.Friedman, Report.Experiment.Design) + "\n" +
            MarkdownTable(RanksTable(*Report.Friedman, Report.Experiment.Design));
  figures(Report.Figures);
  return text;
}

std::string ReportLatex(const TReportContent& Report) {
  // Each table as a float around its tabular: \input{report} gives them all, and
  // \ReportCellEnd (nothing unless the including document defines it) ends each cell.
  std::string text =
      "% The tables of the experiment's report, booktabs tabulars in table floats.\n"
      "\\providecommand{\\ReportCellEnd}{}\n";
  for (const TReportCell& cell : Report.Cells) {
    const std::string tag = CellTag(cell.Cell);
    auto table = [&](const std::string& name, const std::string& caption, const TTable& body) {
      text += "\n% table " + name + "-" + tag +
              "\n\\begin{table}[htbp]\n\\centering\n\\small\n\\setlength{\\tabcolsep}{4pt}\n\\caption{" +
              LatexEscaped(caption) + "}\n\\label{tab:" + name + "-" + tag + "}\n" + LatexTabular(body) +
              "\\end{table}\n";
    };
    const std::string caption = ReportCellCaption(cell.Cell, Report.Experiment.Design);
    table("summary", SummaryCaption(caption), SummaryTable(cell));
    if (!cell.Comparisons.empty())
      for (TPairedTest test : kTests)
        table(test == TPairedTest::ptMcNemarExact ? "mcnemar" : "wilcoxon", PairwiseCaption(caption, test),
              PairwiseTable(cell, test));
    text += "\\ReportCellEnd\n";
  }
  return text;
}

std::string ReportStandaloneLatex(const TReportContent& Report) {
  const TExperimentDesign& d = Report.Experiment.Design;
  std::string text =
      "\\documentclass[a4paper,11pt]{article}\n\\usepackage[utf8]{inputenc}\n"
      "\\usepackage{booktabs}\n\\usepackage{graphicx}\n"
      "\\usepackage[margin=2.2cm]{geometry}\n\\newcommand{\\ReportCellEnd}{\\clearpage}\n"
      "\\title{Report" +
      (d.Label.empty() ? std::string() : ": " + LatexEscaped(d.Label)) +
      "}\n\\date{}\n\\begin{document}\n\\maketitle\n\\section*{Methods}\n" +
      LatexEscaped(MethodsParagraph(Report.Experiment)) + "\n\\clearpage\n\\input{report.tex}\n";
  auto figure = [&](const TReportFigure& f) {
    text += "\\begin{figure}[htbp]\n\\centering\n\\includegraphics[width=\\textwidth]{" + f.Stem + ".pdf}\n\\caption{" +
            LatexEscaped(f.Caption) + "}\n\\end{figure}\n";
  };
  for (const TReportCell& cell : Report.Cells) {
    for (const TReportFigure& f : cell.Figures) figure(f);
    if (!cell.Figures.empty()) text += "\\clearpage\n";
  }
  for (const TReportFigure& f : Report.Figures) {
    figure(f);
    text += "\\clearpage\n";
  }
  return text + "\\end{document}\n";
}

}  // namespace zp::experiment
