#include "experiment/Ecdf.h"

#include <algorithm>
#include <map>
#include <string>

#include "engine/SelectionMethods.h"
#include "workbench/FitnessGraph.h"

namespace zp::experiment {

namespace {

std::vector<TEcdfPoint> Steps(std::vector<int32_t> SolvedAt, int64_t Runs, int32_t Generations) {
  std::sort(SolvedAt.begin(), SolvedAt.end());
  const auto fraction = [Runs](size_t solved) { return static_cast<double>(solved) / static_cast<double>(Runs); };
  std::vector<TEcdfPoint> steps;
  size_t solved = 0;
  while (solved < SolvedAt.size() && SolvedAt[solved] <= 1) ++solved;
  steps.push_back({1, fraction(solved)});
  while (solved < SolvedAt.size() && SolvedAt[solved] <= Generations) {
    const int32_t g = SolvedAt[solved];
    while (solved < SolvedAt.size() && SolvedAt[solved] == g) ++solved;
    steps.push_back({g, fraction(solved)});
  }
  if (steps.back().Generation < Generations) steps.push_back({Generations, steps.back().Fraction});
  return steps;
}

}  // namespace

std::vector<TEcdfCurve> RunLengthEcdfs(const std::vector<TRunRow>& Rows, const TCell& Cell, int32_t Generations) {
  if (Generations < 1) return {};
  struct TRuns {
    int64_t Count = 0;
    std::vector<int32_t> SolvedAt;
  };
  std::map<size_t, TRuns> by_method;  // keyed by rank: the workbench's order
  for (const TRunRow& row : Rows) {
    const auto rank = MethodRank(row.Method);
    if (CellOf(row) != Cell || !rank) continue;
    TRuns& runs = by_method[*rank];
    ++runs.Count;
    if (row.HitGeneration) runs.SolvedAt.push_back(*row.HitGeneration);
  }
  std::vector<TEcdfCurve> curves;
  for (auto& [rank, runs] : by_method)
    curves.push_back({kMethodOrder[rank], runs.Count, Steps(std::move(runs.SolvedAt), runs.Count, Generations)});
  return curves;
}

std::string EcdfHeader(std::string_view Problem, int32_t Configuration) {
  return "Run-length ECDF, " + std::string(Problem) + ", configuration " + std::to_string(Configuration);
}

TEcdfChart::TEcdfChart(const std::vector<TRunRow>& Rows, const TCell& Cell, int32_t Generations,
                       const std::string& Header, int32_t EvaluationsPerGeneration)
    : panel_(std::make_unique<chart::TZPChartPanel>()) {
  using enum chart::TAxisOption;
  panel_->Header().SetText(Header);
  panel_->Footer().SetVisible(false);
  // A plain background, as a figure in a paper.
  panel_->Gradient().SetVisible(false);

  // Both axes keep their ranges whatever the curves hold: a fraction lies in
  // 0 .. 1, and every method is measured over the same generations.
  chart::TZPChartAxis& left = panel_->LeftAxis();
  left.SetOptions(left.Options() - chart::TAxisOptions{axAutomaticMinimum, axAutomaticMaximum});
  left.SetMaximum(1);
  left.SetMinimum(0);
  left.Title().SetText("Fraction of runs solved");

  // One generation has no width from 1 to 1: the axis starts at 0 then, and
  // each curve's one step is drawn across it.
  const bool one_generation = Generations <= 1;
  chart::TZPChartAxis& bottom = panel_->BottomAxis();
  chart::TAxisOptions options = bottom.Options() - chart::TAxisOptions{axAutomaticMinimum, axAutomaticMaximum};
  if (Generations >= kLogarithmicGenerations) options = options + chart::TAxisOptions{axLogarithmic};
  bottom.SetLogarithmicType(chart::TZPLogarithmicType::ltDecades);
  bottom.SetMinStepIncrement(1);  // whole generations
  bottom.SetOptions(options);
  // With an evaluation budget the axis counts evaluations: population x (1 + generation).
  const auto x = [EvaluationsPerGeneration](double Generation) {
    return EvaluationsPerGeneration > 0 ? EvaluationsPerGeneration * (1 + Generation) : Generation;
  };
  bottom.SetMaximum(x(std::max(Generations, 1)));
  bottom.SetMinimum(x(one_generation ? 0 : 1));
  bottom.Title().SetText(EvaluationsPerGeneration > 0 ? "Evaluations" : "Generation");

  for (const TEcdfCurve& curve : RunLengthEcdfs(Rows, Cell, Generations)) {
    const size_t rank = *MethodRank(curve.Method);
    auto s = std::make_unique<chart::TZPLineChart>();
    s->SetParent(panel_.get());
    queens::StyleMethodCurve(*s, ga::kSelectionMethods[rank]);
    s->SetLineStyle(chart::TLineChartStyle::lsStairStep);
    s->BeginUpdate();
    if (one_generation) s->Values().AddPoint(x(0), curve.Steps.front().Fraction);
    for (const TEcdfPoint& p : curve.Steps) s->Values().AddPoint(x(p.Generation), p.Fraction);
    s->EndUpdate();
    curves_.push_back(std::move(s));
  }
}

// The curves let go of the panel before it goes.
TEcdfChart::~TEcdfChart() { curves_.clear(); }

}  // namespace zp::experiment
