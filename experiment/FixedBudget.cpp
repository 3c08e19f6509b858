#include "experiment/FixedBudget.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "engine/SelectionMethods.h"
#include "workbench/FitnessGraph.h"

namespace zp::experiment {

namespace {

// Type 7 quantile of sorted values: what Quantile7 gives, without copying them again.
double SortedQuantile(const std::vector<double>& Sorted, double P) {
  const double h = (static_cast<double>(Sorted.size()) - 1) * P;
  const auto low = static_cast<size_t>(std::floor(h));
  const size_t high = std::min(low + 1, Sorted.size() - 1);
  return Sorted[low] + (h - static_cast<double>(low)) * (Sorted[high] - Sorted[low]);
}

std::vector<int32_t> Grid(int32_t Generations) {
  std::vector<int32_t> grid;
  const int32_t count = std::min(Generations + 1, kBudgetPoints);
  for (int32_t i = 0; i < count; ++i) {
    const auto g =
        count == 1
            ? 0
            : static_cast<int32_t>(std::llround(static_cast<double>(i) * Generations / static_cast<double>(count - 1)));
    if (grid.empty() || g > grid.back()) grid.push_back(g);
  }
  return grid;
}

}  // namespace

std::vector<TBudgetCurve> FixedBudgetCurves(const std::vector<TRunRow>& Rows, const std::vector<TRunTrace>& Traces,
                                            int32_t Generations) {
  if (Rows.empty() || Generations < 0) return {};
  const int64_t population = Rows.front().Population;
  const std::vector<int32_t> grid = Grid(Generations);
  std::map<size_t, std::vector<const TRunTrace*>> by_method;  // keyed by rank: the workbench's order
  for (const TRunTrace& trace : Traces)
    if (const auto rank = MethodRank(trace.Method); rank && !trace.Improvements.empty())
      by_method[*rank].push_back(&trace);
  std::vector<TBudgetCurve> curves;
  for (const auto& [rank, traces] : by_method) {
    TBudgetCurve curve{kMethodOrder[rank], {}};
    std::vector<size_t> at(traces.size(), 0);  // each run's improvement in force
    std::vector<double> values(traces.size());
    for (int32_t g : grid) {
      for (size_t r = 0; r < traces.size(); ++r) {
        const auto& steps = traces[r]->Improvements;
        while (at[r] + 1 < steps.size() && steps[at[r] + 1].Generation <= g) ++at[r];
        values[r] = steps[at[r]].Best;
      }
      std::vector<double> sorted = values;
      std::sort(sorted.begin(), sorted.end());
      curve.Points.push_back({population * (1 + g), SortedQuantile(sorted, 0.25), SortedQuantile(sorted, 0.5),
                              SortedQuantile(sorted, 0.75)});
    }
    curves.push_back(std::move(curve));
  }
  return curves;
}

TFixedBudgetChart::TFixedBudgetChart(const std::vector<TRunRow>& Rows, const std::vector<TRunTrace>& Traces,
                                     int32_t Generations, const std::string& Header)
    : panel_(std::make_unique<chart::TZPChartPanel>()) {
  panel_->Header().SetText(Header);
  panel_->Footer().SetVisible(false);
  panel_->Gradient().SetVisible(false);
  panel_->LeftAxis().Title().SetText("Best-so-far fitness (median, quartiles dashed)");
  panel_->BottomAxis().Title().SetText("Evaluations");
  for (const TBudgetCurve& curve : FixedBudgetCurves(Rows, Traces, Generations)) {
    const ga::TSelectionMethodInfo& method = ga::kSelectionMethods[*MethodRank(curve.Method)];
    // The quartiles first, so that the median lies on top of them.
    for (double TBudgetPoint::*quartile : {&TBudgetPoint::Q1, &TBudgetPoint::Q3}) {
      auto s = std::make_unique<chart::TZPLineChart>();
      s->SetParent(panel_.get());
      s->Pen().SetColor(method.Color);
      s->Pen().SetWidth(1);
      s->Pen().SetStyle(TPenStyle::psDash);
      s->SetOptions({});
      s->BeginUpdate();
      for (const TBudgetPoint& p : curve.Points) s->Values().AddPoint(static_cast<double>(p.Evaluations), p.*quartile);
      s->EndUpdate();
      curves_.push_back(std::move(s));
    }
    auto s = std::make_unique<chart::TZPLineChart>();
    s->SetParent(panel_.get());
    queens::StyleMethodCurve(*s, method);
    s->BeginUpdate();
    for (const TBudgetPoint& p : curve.Points) s->Values().AddPoint(static_cast<double>(p.Evaluations), p.Median);
    s->EndUpdate();
    curves_.push_back(std::move(s));
  }
}

// The curves let go of the panel before it goes.
TFixedBudgetChart::~TFixedBudgetChart() { curves_.clear(); }

}  // namespace zp::experiment
