// What a comparison run tells the front ends as it goes: the five selection
// methods in run order with the captions of their curves, one report per
// generation and one per finished method, and the observer interface through which the fitness graph
// and a progress display hear of them. A workbench with no observer runs
// exactly as one with many: observers only read.
//
//   class TCounter : public IRunObserver {
//     void OnGeneration(const TGenerationReport&) override { ++count; }
//   };
//   workbench.Attach(counter);
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/ZPGAConsts.h"

namespace zp::queens {

// The comparison run's methods, one curve each.
constexpr int kCurves = 5;

// Roulette, Random, Tournament, Stochastic Tournament, Elitist: the order of a run and of the curves.
const std::array<ga::TGASelectionMethod, kCurves>& RunMethods();
// "Roulette", "Random", "Tournament", "Stochastic Tournament", "Elitist".
const std::array<std::string, kCurves>& CurveCaptions();
// Method's place in RunMethods(); -1 for a method the run never uses (smCustom).
int CurveOf(ga::TGASelectionMethod Method);

// The state of the population after one generation of a comparison run.
struct TGenerationReport {
  ga::TGASelectionMethod Method;
  int32_t Generation;
  ga::TGAFitness MaxFitness;
  ga::TGAFitness AvgFitness;
  ga::TGAFitness MinFitness;

  bool operator==(const TGenerationReport&) const = default;
};

// One method's outcome at the end of its part of a comparison run: what the log
// prints for it, with the numbers unrounded.
struct TMethodReport {
  ga::TGASelectionMethod Method;
  int32_t Generation;  // the log's "Number of generations"
  int32_t PopulationSize;
  ga::TGAFitness MaxFitness;
  ga::TGAFitness AvgFitness;
  ga::TGAFitness MinFitness;
  ga::TGAFitness FitnessCutoff;
  std::string Fittest;  // the fittest individual's bit text as the log prints it; empty for an empty population

  bool operator==(const TMethodReport&) const = default;
};

// Told of a run's events; every handler does nothing unless overridden.
class IRunObserver {
 public:
  virtual ~IRunObserver() = default;
  // An initialization: every curve starts over, the fitness axis tops out at Cutoff (the fitness cutoff).
  virtual void OnCurvesReset(double /*Cutoff*/) {}
  // A generation evolved while the Graph check box is on; with it off nothing is reported.
  virtual void OnGeneration(const TGenerationReport& /*Report*/) {}
  // A method finished its generations and its log lines are written; told whether the graph is on or off.
  virtual void OnMethodFinished(const TMethodReport& /*Report*/) {}
};

}  // namespace zp::queens
