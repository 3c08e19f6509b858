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

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/ZPGAConsts.h"
#include "platform/EnumNames.h"

namespace zp::queens {

// How the methods of one run draw their random numbers: each continuing the
// stream where the previous method stopped, or each from the state the first
// method starts from. Shared streams start every method on the same numbers,
// but the selections draw differently many of them, so from the first
// generation on the methods' numbers part ways.
enum class TRandomStreams { rsContinued, rsShared };
inline constexpr std::array<std::string_view, 2> kRandomStreamsNames{"continued", "shared"};
inline std::string ToString(TRandomStreams v) { return EnumName(kRandomStreamsNames, v); }

// Where the curves shown come from, for the headers of their figure: the
// problem at its size ("8 queens", IProblem::Caption), the random source's state
// the start population was drawn from (empty for a population loaded from a
// file) and how the methods of the latest Run shared the random numbers (until
// a Run, the setting the next one will use).
struct TRunHeading {
  std::string Problem;
  std::optional<uint32_t> Seed;
  TRandomStreams Streams = TRandomStreams::rsContinued;

  bool operator==(const TRunHeading&) const = default;
};

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
  // The heading of the curves changed: after an initialization or a load, and as a Run starts.
  virtual void OnHeading(const TRunHeading& /*Heading*/) {}
  // A method's start population restored and scored, before its first generation:
  // Report holds the start generation (0 in a fresh run) and that population's fitness.
  virtual void OnMethodStarted(const TGenerationReport& /*Report*/) {}
  // A generation evolved.
  virtual void OnGeneration(const TGenerationReport& /*Report*/) {}
  // A method finished its generations and its log lines are written; a method stopped part way is not reported.
  virtual void OnMethodFinished(const TMethodReport& /*Report*/) {}
};

}  // namespace zp::queens
