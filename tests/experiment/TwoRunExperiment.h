// A small experiment worked by hand, shared by the file tests: 4 queens
// (population 16, cutoff 6), 5 generations, repeats 0 and 1, roulette and
// elitist. Each run's MaxFitness per generation 0 (the start population), 1, ...
// and its outcome:
//   repeat 0 roulette  4 4 4 5 4 5   no hit,          5 generations, 96 evaluations, best 5
//   repeat 0 elitist   4 5 6         hit at 2, solved, 2 generations, 48 evaluations, best 6
//   repeat 1 roulette  2 3 4.5 4.5 6 hit at 4, solved, 4 generations, 80 evaluations, best 6
//   repeat 1 elitist   6 6           hit at 0, solved, 1 generation,  32 evaluations, best 6
#pragma once

#include <vector>

#include "experiment/Traces.h"

namespace zp::experiment::fixture {

inline const char* const kTwoRunRunsCsv =
    "problem,size,config,repeat,seed,method,solved,hit_generation,generations,evaluations,max_fitness,avg_fitness,"
    "min_fitness,best_ever,fittest\n"
    "nqueens,4,0,0,0,smRoulette,0,,5,96,5,3.4375,1,5,01001110\n"
    "nqueens,4,0,0,0,smElitist,1,2,2,48,6,4.0625,2,6,10000111\n"
    "nqueens,4,0,1,2749829512,smRoulette,1,4,4,80,6,4.1875,0.5,6,01101100\n"
    "nqueens,4,0,1,2749829512,smElitist,1,0,1,32,6,3.75,2,6,00011011\n";

// The improvements of the runs above: generation 0, then the generations whose
// MaxFitness beats every earlier one.
inline const char* const kTwoRunTracesCsv =
    "problem,size,config,repeat,method,generation,best\n"
    "nqueens,4,0,0,smRoulette,0,4\n"
    "nqueens,4,0,0,smRoulette,3,5\n"
    "nqueens,4,0,0,smElitist,0,4\n"
    "nqueens,4,0,0,smElitist,1,5\n"
    "nqueens,4,0,0,smElitist,2,6\n"
    "nqueens,4,0,1,smRoulette,0,2\n"
    "nqueens,4,0,1,smRoulette,1,3\n"
    "nqueens,4,0,1,smRoulette,2,4.5\n"
    "nqueens,4,0,1,smRoulette,4,6\n"
    "nqueens,4,0,1,smElitist,0,6\n";

struct TRunFitness {
  int32_t Repeat;
  ga::TGASelectionMethod Method;
  std::vector<double> MaxFitness;  // generations 0, 1, 2, ...
};

inline std::vector<TRunFitness> TwoRunFitness() {
  using enum ga::TGASelectionMethod;
  return {{0, smRoulette, {4, 4, 4, 5, 4, 5}},
          {0, smElitist, {4, 5, 6}},
          {1, smRoulette, {2, 3, 4.5, 4.5, 6}},
          {1, smElitist, {6, 6}}};
}

}  // namespace zp::experiment::fixture
