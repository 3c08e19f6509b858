#include "workbench/RunEvents.h"

namespace zp::queens {

using ga::TGASelectionMethod;

const std::array<TGASelectionMethod, kCurves>& RunMethods() {
  static const std::array<TGASelectionMethod, kCurves> methods{
      TGASelectionMethod::smRoulette, TGASelectionMethod::smRandom, TGASelectionMethod::smTournament,
      TGASelectionMethod::smStochasticTournament, TGASelectionMethod::smElitist};
  return methods;
}

const std::array<std::string, kCurves>& CurveCaptions() {
  static const std::array<std::string, kCurves> captions{"Roulette", "Random", "Tournament", "Stochastic Tournament",
                                                         "Elitist"};
  return captions;
}

int CurveOf(TGASelectionMethod Method) {
  const auto& methods = RunMethods();
  for (size_t i = 0; i < methods.size(); ++i)
    if (methods[i] == Method) return static_cast<int>(i);
  return -1;
}

}  // namespace zp::queens
