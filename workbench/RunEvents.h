// What a comparison run tells the front ends as it goes: one report per
// generation and one per finished method, the log lines for an observer that
// wants them, and the observer interface through which the fitness graph, a
// progress display or an experiment's row builder hear of them. A run with no
// observer runs exactly as one with many: observers only read.
//
//   class TCounter : public IRunObserver {
//     void OnGeneration(const TGenerationReport&) override { ++count; }
//   };
#pragma once

#include <cstdint>
#include <string>

#include "engine/ZPGAConsts.h"

namespace zp::queens {

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
  bool Solved = false;  // the problem says MaxFitness is a solution's

  bool operator==(const TMethodReport&) const = default;
};

// Told of a run's events; every handler does nothing unless overridden.
class IRunObserver {
 public:
  virtual ~IRunObserver() = default;
  // True for an observer that wants the log's lines: the run builds them only then.
  virtual bool WantsLog() const { return false; }
  virtual void OnLog(const std::string& /*Line*/) {}
  // An initialization: every curve starts over, the fitness axis tops out at Cutoff (the fitness cutoff).
  virtual void OnCurvesReset(double /*Cutoff*/) {}
  // A method's start population restored and scored, before its first generation:
  // Report holds the start generation (0 in a fresh run) and that population's fitness.
  virtual void OnMethodStarted(const TGenerationReport& /*Report*/) {}
  // A generation evolved.
  virtual void OnGeneration(const TGenerationReport& /*Report*/) {}
  // A method finished its generations and its log lines are written; a method stopped part way is not reported.
  virtual void OnMethodFinished(const TMethodReport& /*Report*/) {}
};

}  // namespace zp::queens
