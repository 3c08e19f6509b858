#include "workbench/GraphFeed.h"

#include "platform/Numbers.h"

namespace zp::queens {

using ga::TGASelectionMethod;

const std::array<TGASelectionMethod, TGraphFeed::kCurves>& TGraphFeed::Methods() {
  static const std::array<TGASelectionMethod, kCurves> methods{
      TGASelectionMethod::smRoulette, TGASelectionMethod::smRandom, TGASelectionMethod::smTournament,
      TGASelectionMethod::smStochasticTournament, TGASelectionMethod::smElitist};
  return methods;
}

const std::array<std::string, TGraphFeed::kCurves>& TGraphFeed::Captions() {
  static const std::array<std::string, kCurves> captions{"Roulette", "Random", "Tournament", "Stochastic Tournament",
                                                         "Elitist"};
  return captions;
}

void TGraphFeed::ResetCurves(double Cutoff) {
  left_axis_maximum_ = Cutoff;
  left_axis_maximum_set_ = true;
  for (auto& curve : points_) curve.clear();
  if (sink_) sink_->ResetCurves(Cutoff);
}

void TGraphFeed::SelectCurve(TGASelectionMethod Method) {
  for (int i = 0; i < kCurves; ++i)
    if (Methods()[static_cast<size_t>(i)] == Method) current_ = i;
  if (sink_) sink_->SelectCurve(Method);
}

void TGraphFeed::AddPoint(double X, double Y) {
  points_[static_cast<size_t>(current_)].push_back({X, Y});
  if (sink_) sink_->AddPoint(X, Y);
}

std::string TGraphFeed::Csv() const {
  std::string out = "method,generation,fitness\n";
  for (int i = 0; i < kCurves; ++i)
    for (const TGraphPoint& p : points_[static_cast<size_t>(i)])
      out += Captions()[static_cast<size_t>(i)] + "," + FormatFloat15(p.X) + "," + FormatFloat15(p.Y) + "\n";
  return out;
}

}  // namespace zp::queens
