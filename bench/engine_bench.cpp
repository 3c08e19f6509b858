// Evolution speed on the N-Queens workload W(N, P): the workbench's problem
// (its genes, and its whole-population scoring bound as the run core binds it), mutation probability 1/chromosome bits,
// population P, tournament selection of 4, crossover 0.98 at gene boundaries, inversion 0.1, all three operations, no
// early stop. Initialization is outside the timed loop. A second problem, OneMax over 32 integer genes of 4 bits (the
// fitness is the sum of the gene values), runs under the same settings, so that a change of the engine's speed can be
// told apart from one of the queens' fitness.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/IntegerDecoder.h"
#include "engine/SelectionMethods.h"
#include "engine/ZPGeneticAlgorithm.h"
#include "workbench/QueensProblem.h"

using namespace zp::ga;
using namespace zp::queens;

namespace {

// The workload's settings apart from the genotype and the fitness.
void ApplySettings(TZPGeneticAlgorithm& ga, int p) {
  ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  ga.SetSelectionMethod(TGASelectionMethod::smTournament);
  ga.SetTournamentField(4);
  ga.SetCrossoverProbability(0.98);
  ga.SetInversionProbability(0.1);
  ga.SetCrossoverMethod(TGACrossoverMethod::cmGeneBoundary);
  ga.SetUseFitnessCutoff(false);
  ga.SetInitialPopulation(p);
}

struct Workload {
  zp::TRandom random;
  TZPGeneticAlgorithm ga;
  TQueensProblem problem;

  Workload(int n, int p) : problem(n) {
    ga.SetRandomSource(random);
    ApplySettings(ga, p);
    ga.OnInitialization = [n](TZPCustomGeneticAlgorithm& g, bool&) {
      BuildQueensGenes(g.Genes(), n);
      g.SetFitnessCutoff(QueensCutoff(n));
      g.SetMutationProbability(1.0 / g.GeneSize());
    };
    ga.OnEvaluatePopulation = [this](TZPCustomGeneticAlgorithm& g, TZPGAPopulation& population, int32_t first,
                                     std::span<TGAFitness> fitness) {
      problem.Score(g.Genes(), population, first, fitness);
    };
    ga.Initialize();
  }
};

struct OneMax {
  zp::TRandom random;
  TZPGeneticAlgorithm ga;
  std::vector<int32_t> values;
  TIntegerDecoder decoder;

  OneMax(int genes, int bits, int p) {
    ga.SetRandomSource(random);
    ApplySettings(ga, p);
    ga.OnInitialization = [genes, bits](TZPCustomGeneticAlgorithm& g, bool&) {
      for (int i = 0; i < genes; ++i) {
        TZPGAGene& gene = g.Genes().Add();
        gene.SetGeneType(TGeneType::gtInteger);
        gene.SetSize(bits);
      }
      g.SetMutationProbability(1.0 / g.GeneSize());
    };
    ga.OnEvaluateFitness = [this](TZPCustomGeneticAlgorithm& g, TZPGAIndividual& item, TGAFitness& fitness) {
      decoder.Decode(g.Genes(), item.Bits(), values);
      int64_t sum = 0;
      for (int32_t v : values) sum += v;
      fitness = static_cast<double>(sum);
    };
    ga.Initialize();
  }
};

void SetCounters(benchmark::State& state, double bits) {
  state.counters["gens_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  // Rate then inverted: seconds per unit; one unit is 1e9 individual-bits, so the figure is in ns.
  state.counters["ns_per_indbit"] = benchmark::Counter(static_cast<double>(state.iterations()) * bits / 1e9,
                                                       benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_EvolveQueens(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const int p = static_cast<int>(state.range(1));
  Workload w(n, p);
  for (auto _ : state) w.ga.Evolve();
  SetCounters(state, static_cast<double>(p) * w.ga.GeneSize());
}

// W(N, P) under each selection method (its place in the method table), for
// the comparison run's mix of methods.
void BM_EvolveQueensByMethod(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  const int p = static_cast<int>(state.range(1));
  Workload w(n, p);
  w.ga.SetSelectionMethod(kSelectionMethods[static_cast<size_t>(state.range(2))].Method);
  w.ga.EvaluatePopulation();
  for (auto _ : state) w.ga.Evolve();
  SetCounters(state, static_cast<double>(p) * w.ga.GeneSize());
  state.SetLabel(std::string(kSelectionMethods[static_cast<size_t>(state.range(2))].ShortName));
}

// OneMax(genes, bits per gene, population).
void BM_EvolveOneMax(benchmark::State& state) {
  const int p = static_cast<int>(state.range(2));
  OneMax w(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), p);
  for (auto _ : state) w.ga.Evolve();
  SetCounters(state, static_cast<double>(p) * w.ga.GeneSize());
}

}  // namespace

BENCHMARK(BM_EvolveQueens)
    ->Args({8, 32})
    ->Args({16, 64})
    ->Args({32, 128})
    ->Args({32, 4096})
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EvolveQueensByMethod)->ArgsProduct({{32}, {128}, {0, 1, 2, 3, 4}})->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_EvolveOneMax)->Args({32, 4, 128})->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
