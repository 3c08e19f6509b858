// The whole comparison run, checked against a second implementation written
// here from the rules alone: its own random source, chromosomes as plain bool
// vectors, genes decoded bit by bit, the fitness pair by pair, and every
// selection routine and operator spelled out with its draws in order. Nothing
// of the engine is used except the float formatting of the log.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "platform/Numbers.h"
#include "platform/Random.h"
#include "workbench/FitnessGraph.h"
#include "workbench/QueensWorkbench.h"

namespace {

// The shared random source, written out: seed := seed * 134775813 + 1 mod 2^32.
struct PlainLcg {
  uint32_t seed = 0;

  uint32_t Advance() {
    seed = static_cast<uint32_t>((static_cast<uint64_t>(seed) * 134775813ull + 1ull) % 4294967296ull);
    return seed;
  }
  int Int(int n) {
    const uint64_t s = Advance();
    if (n <= 0) return 0;
    return static_cast<int>((s * static_cast<uint64_t>(n)) >> 32);
  }
  double Real() { return static_cast<double>(Advance()) / 4294967296.0; }
};

enum class Method { Roulette, Random, Tournament, StochasticTournament, Elitist };

const char* MethodName(Method m) {
  switch (m) {
    case Method::Roulette:
      return "smRoulette";
    case Method::Random:
      return "smRandom";
    case Method::Tournament:
      return "smTournament";
    case Method::StochasticTournament:
      return "smStochasticTournament";
    case Method::Elitist:
      return "smElitist";
  }
  return "";
}

struct Individual {
  std::vector<bool> bits;
  double fitness = 0;
};

struct Point {
  double x, y;
};

// The workbench after start-up and a change of the queen count to N, then Run.
class ReferenceWorkbench {
 public:
  ReferenceWorkbench(int n, uint32_t seed) : N(n) {
    rng.seed = seed;
    // The genotype is rebuilt for N; the chromosome length only ever grows
    // from the stored 24 bits.
    gene_bits = 0;
    for (int v = N - 1; v > 0; v >>= 1) ++gene_bits;
    chromosome_bits = std::max(24, N * gene_bits);
    population_size = 4 * N;
    cutoff = 0;
    for (int i = 1; i <= N - 1; ++i) cutoff += i;
    mutation = 1.0 / chromosome_bits;
  }

  std::vector<std::string> log;
  std::vector<Point> curves[5];
  PlainLcg rng;

  // Initialize: individuals added, the log block, random bits, scoring.
  void Initialize() {
    population.assign(static_cast<size_t>(population_size), Individual{});
    for (Individual& ind : population) ind.bits.assign(static_cast<size_t>(chromosome_bits), false);
    log.push_back("");
    log.push_back("Population Initialized.");
    log.push_back("     Number of queens is " + std::to_string(N));
    log.push_back("     Chromosome Size is " + std::to_string(chromosome_bits) + " (" + std::to_string(N) +
                  " genes X " + std::to_string(gene_bits) + " bits)");
    log.push_back("     Population is " + std::to_string(population_size));
    log.push_back("     Fitness Cutoff is " + zp::FormatFloat15(cutoff));
    log.push_back("     Mutation probability is " + zp::FormatFloat15(mutation));
    log.push_back("");
    for (auto& c : curves) c.clear();
    for (Individual& ind : population)
      for (size_t p = 0; p < ind.bits.size(); ++p) ind.bits[p] = rng.Int(2) == 1;
    method = Method::StochasticTournament;
    Evaluate(population);
    previous = population;
    generation = 0;
  }

  // An individual appended from outside: zero bits, fitness 0, in the current buffer only.
  void AddIndividual() {
    Individual ind;
    ind.bits.assign(static_cast<size_t>(chromosome_bits), false);
    population.push_back(ind);
  }

  // Shared: every method starts from the generator state the first one starts from.
  void Run(const int count, bool shared = false) {
    const std::vector<Individual> start = population;
    const int start_generation = generation;
    const uint32_t start_seed = rng.seed;
    const Method order[] = {Method::Roulette, Method::Random, Method::Tournament, Method::StochasticTournament,
                            Method::Elitist};
    for (Method m : order) {
      if (shared) rng.seed = start_seed;
      method = m;
      generation = start_generation;
      population = start;
      Evaluate(population);
      for (int k = 0; k < count; ++k) {
        Evolve();
        if (population[static_cast<size_t>(fittest)].fitness >= cutoff) break;
      }
      const Individual& best = population[static_cast<size_t>(fittest)];
      std::string text;
      for (bool b : best.bits) text += b ? "1" : "0";
      log.push_back("");
      log.push_back(std::string("Selection Method: ") + MethodName(method));
      log.push_back("Number of generations:" + std::to_string(generation));
      log.push_back("Fittest Individual:" + text);
      log.push_back("     Score:" + zp::FormatFloat15(best.fitness));
      log.push_back("Avg Fitness:" + zp::FormatFloat15(avg_fitness));
      log.push_back("Min Fitness:" + zp::FormatFloat15(min_fitness));
      log.push_back("Max Fitness:" + zp::FormatFloat15(max_fitness));
    }
  }

 private:
  int GeneValue(const Individual& ind, int gene) const {
    int value = 0;
    for (int k = 0; k < gene_bits; ++k)
      if (ind.bits[static_cast<size_t>(gene * gene_bits + k)]) value += 1 << k;
    return value;
  }

  double Fitness(const Individual& ind) const {
    double f = 0;
    const int n = N;
    if (n < 2) return 0;
    for (int i = 0; i <= n - 2; ++i) {
      const int a = GeneValue(ind, i);
      if (a >= N) f -= 1;
      for (int j = i + 1; j <= n - 1; ++j) {
        const int d = j - i;
        const int b = GeneValue(ind, j);
        if (b >= N) f -= 1;
        if (b != a && b != a + d && b != a - d) f += 1;
      }
    }
    return f;
  }

  void Evaluate(std::vector<Individual>& pop) {
    if (pop.empty()) {
      max_fitness = min_fitness = avg_fitness = 0;
      return;
    }
    fittest = 0;
    pop[0].fitness = Fitness(pop[0]);
    max_fitness = min_fitness = total_fitness = pop[0].fitness;
    double sum = pop[0].fitness;
    for (size_t i = 1; i < pop.size(); ++i) {
      pop[i].fitness = Fitness(pop[i]);
      total_fitness += pop[i].fitness;
      // Maximizing: the earlier one stays unless the later is strictly fitter.
      if (!(pop[static_cast<size_t>(fittest)].fitness >= pop[i].fitness)) fittest = static_cast<int>(i);
      sum += pop[i].fitness;
      if (pop[i].fitness < min_fitness)
        min_fitness = pop[i].fitness;
      else if (pop[i].fitness > max_fitness)
        max_fitness = pop[i].fitness;
    }
    avg_fitness = sum / static_cast<double>(pop.size());
    if (method == Method::Roulette || method == Method::StochasticTournament) BuildRouletteTable(pop);
    if (method == Method::Elitist) BuildElitistQueue(pop);
  }

  double Relative(double f) const { return total_fitness == 0 ? 0 : f / total_fitness; }

  void BuildRouletteTable(const std::vector<Individual>& pop) {
    roulette.assign(pop.size(), 0);
    roulette[0] = Relative(pop[0].fitness);
    for (size_t i = 1; i < pop.size(); ++i) roulette[i] = roulette[i - 1] + Relative(pop[i].fitness);
  }

  // A binary heap, largest single-precision fitness on top; equal keys do not rise.
  void BuildElitistQueue(const std::vector<Individual>& pop) {
    heap_item.clear();
    heap_key.clear();
    for (size_t i = 0; i < pop.size(); ++i) {
      heap_item.push_back(static_cast<int>(i));
      heap_key.push_back(static_cast<float>(pop[i].fitness));
      size_t at = heap_key.size() - 1;
      while (at > 0 && heap_key[at] > heap_key[(at - 1) / 2]) {
        std::swap(heap_key[at], heap_key[(at - 1) / 2]);
        std::swap(heap_item[at], heap_item[(at - 1) / 2]);
        at = (at - 1) / 2;
      }
    }
  }

  int SelectRandom(const std::vector<Individual>& pop) { return rng.Int(static_cast<int>(pop.size())); }

  int SelectRoulette(const std::vector<Individual>& pop) {
    if (min_fitness == max_fitness) return SelectRandom(pop);
    const double r = rng.Real();
    const int L = static_cast<int>(roulette.size());
    int lo = 0, hi = L;
    while (lo <= hi) {
      const int mid = (lo + hi) / 2;
      // There is no entry L; a search that gets there ends on the last individual.
      const double entry = mid < L ? roulette[static_cast<size_t>(mid)] : std::numeric_limits<double>::infinity();
      if (entry > r)
        hi = mid - 1;
      else
        lo = mid + 1;
    }
    if (lo >= L) lo = L - 1;
    elitist_index = lo;
    return lo;
  }

  int Fitter(const std::vector<Individual>& pop, int a, int b) const {
    return pop[static_cast<size_t>(a)].fitness >= pop[static_cast<size_t>(b)].fitness ? a : b;
  }

  int SelectTournament(const std::vector<Individual>& pop) {
    int parent = SelectRandom(pop);
    for (int k = 0; k < tournament_field - 1; ++k) parent = Fitter(pop, parent, SelectRandom(pop));
    return parent;
  }

  int SelectStochasticTournament(const std::vector<Individual>& pop) {
    int parent = SelectRandom(pop);
    for (int k = 0; k < tournament_field - 1; ++k) parent = Fitter(pop, parent, SelectRoulette(pop));
    return parent;
  }

  int SelectElitist(const std::vector<Individual>& pop) {
    if (min_fitness == max_fitness) return SelectRandom(pop);
    ++elitist_index;
    const double limit = std::nearbyint(static_cast<double>(pop.size()) * elitist_pct);  // halves to even
    if (elitist_index > limit) elitist_index = 0;
    int at = elitist_index;
    if (at >= static_cast<int>(heap_item.size())) at = static_cast<int>(heap_item.size()) - 1;
    return heap_item[static_cast<size_t>(at)];
  }

  int Select(const std::vector<Individual>& pop) {
    switch (method) {
      case Method::Roulette:
        return SelectRoulette(pop);
      case Method::Random:
        return SelectRandom(pop);
      case Method::Tournament:
        return SelectTournament(pop);
      case Method::StochasticTournament:
        return SelectStochasticTournament(pop);
      case Method::Elitist:
        return SelectElitist(pop);
    }
    return 0;
  }

  static void Cross(Individual& child, const Individual& first, const Individual& second, int cut) {
    for (size_t p = 0; p < child.bits.size(); ++p)
      child.bits[p] = static_cast<int>(p) <= cut ? first.bits[p] : second.bits[p];
  }

  void Crossover(const Individual& p1, const Individual& p2, Individual& c1, Individual* c2) {
    const bool cross = rng.Real() < crossover_probability;
    if (!cross) return;
    // The first position of a gene other than the first.
    const int cut = (1 + rng.Int(N - 1)) * gene_bits;
    Cross(c1, p1, p2, cut);
    if (c2) Cross(*c2, p2, p1, cut);
  }

  void Mutate(Individual& child) {
    for (size_t p = 0; p < child.bits.size(); ++p)
      if (rng.Real() < mutation) child.bits[p] = !child.bits[p];
  }

  void InvertRun(Individual& child) {
    const int S = static_cast<int>(child.bits.size());
    const int start = rng.Int(S);
    const int n = rng.Int(S - start);
    for (int p = start; p <= start + n; ++p) child.bits[static_cast<size_t>(p)] = !child.bits[static_cast<size_t>(p)];
  }

  void MaybeInvert(Individual& child) {
    if (rng.Real() < inversion_probability) InvertRun(child);
  }

  // The two buffers swap: the scored generation becomes the parents and the
  // other buffer, whatever its size, is overwritten child by child.
  void Evolve() {
    elitist_index = -1;
    std::swap(population, previous);
    const std::vector<Individual>& parents = previous;
    std::vector<Individual>& children = population;
    const size_t count = children.size();
    for (size_t i = 0; i < count; i += 2) {
      const int a = Select(parents);
      const int b = Select(parents);
      const Individual& p1 = parents[static_cast<size_t>(a)];
      const Individual& p2 = parents[static_cast<size_t>(b)];
      if (i == count - 1) {
        children[i] = p1;
        Crossover(p1, p2, children[i], nullptr);
        Mutate(children[i]);
        MaybeInvert(children[i]);
      } else {
        children[i] = p1;
        children[i + 1] = p2;
        Crossover(p1, p2, children[i], &children[i + 1]);
        Mutate(children[i]);
        Mutate(children[i + 1]);
        MaybeInvert(children[i]);
        MaybeInvert(children[i + 1]);
      }
    }
    Evaluate(population);
    ++generation;
    curves[static_cast<int>(method)].push_back({static_cast<double>(generation), max_fitness});
  }

  int N;
  int gene_bits;
  int chromosome_bits;
  int population_size;
  double cutoff;
  double mutation;
  const double crossover_probability = 0.98;
  const double inversion_probability = 0.1;
  const double elitist_pct = 0.1;
  const int tournament_field = 4;

  Method method = Method::StochasticTournament;
  std::vector<Individual> population, previous;
  int generation = 0;
  int fittest = 0;
  double max_fitness = 0, min_fitness = 0, avg_fitness = 0, total_fitness = 0;
  std::vector<double> roulette;
  std::vector<int> heap_item;
  std::vector<float> heap_key;
  int elitist_index = -1;
};

constexpr size_t kIntroductionLines = 7;

// Runs the workbench and the reference through the same actions and compares
// the log after the introduction, line by line, and every plotted point.
// ExtraIndividuals are appended to the population after the initialization.
// With Source given the workbench draws from it instead of the process-wide
// source; Shared sets its random streams to shared.
void ExpectSameRun(int n, const std::vector<std::string>& generation_texts, int extra_individuals = 0,
                   zp::TRandom* source = nullptr, bool shared = false) {
  zp::TRandom& random = source ? *source : zp::GlobalRandom();
  zp::queens::TQueensWorkbench wb(random);
  if (shared) wb.SetStreams(zp::queens::TRandomStreams::rsShared);
  zp::queens::TFitnessGraph graph;
  wb.Attach(graph);
  wb.FormCreate();
  ReferenceWorkbench ref(n, random.Seed());
  wb.SpinEdit1Change(n);
  ref.Initialize();
  for (int k = 0; k < extra_individuals; ++k) {
    wb.Algorithm().Population().Add();
    ref.AddIndividual();
  }
  for (const std::string& text : generation_texts) {
    wb.btnRunClick(text);
    ref.Run(std::stoi(text), shared);
  }
  EXPECT_EQ(random.Seed(), ref.rng.seed) << "the two runs drew a different number of times";

  const std::vector<std::string>& log = wb.Log();
  ASSERT_EQ(log.size(), kIntroductionLines + ref.log.size());
  for (size_t i = 0; i < ref.log.size(); ++i)
    ASSERT_EQ(log[kIntroductionLines + i], ref.log[i]) << "log line " << kIntroductionLines + i;

  for (int c = 0; c < 5; ++c) {
    const auto& points = graph.Points(c);
    ASSERT_EQ(points.size(), ref.curves[c].size()) << "curve " << c;
    for (size_t i = 0; i < points.size(); ++i) {
      EXPECT_EQ(points[i].X, ref.curves[c][i].x) << "curve " << c << " point " << i;
      EXPECT_EQ(points[i].Y, ref.curves[c][i].y) << "curve " << c << " point " << i;
    }
  }
}

// Restores the process-wide seed after a test that set its own.
class SeedGuard {
 public:
  explicit SeedGuard(uint32_t seed) : saved_(zp::GlobalRandom().Seed()) { zp::GlobalRandom().SetSeed(seed); }
  ~SeedGuard() { zp::GlobalRandom().SetSeed(saved_); }

 private:
  uint32_t saved_;
};

TEST(ComparisonRunTest, FourQueensFiveGenerationsMatchesThePlainReference) { ExpectSameRun(4, {"5"}); }

TEST(ComparisonRunTest, FourQueensTwentyGenerationsMatchesThePlainReference) { ExpectSameRun(4, {"20"}); }

TEST(ComparisonRunTest, FiveQueensWithOutOfRangeRowsMatchesThePlainReference) { ExpectSameRun(5, {"6"}); }

TEST(ComparisonRunTest, EightQueensMatchesThePlainReference) { ExpectSameRun(8, {"4"}); }

TEST(ComparisonRunTest, SecondRunContinuesFromTheElitistStateLikeTheReference) { ExpectSameRun(4, {"3", "4"}); }

TEST(ComparisonRunTest, FromSeedZeroTheReferenceAndTheWorkbenchAgree) {
  SeedGuard guard(0);
  ExpectSameRun(4, {"20"});
}

// An odd population: the two buffers differ in size, so generations alternate
// between an even and an odd number of children.
TEST(ComparisonRunTest, OddPopulationMatchesThePlainReference) {
  ExpectSameRun(4, {"5"}, 1);
  ExpectSameRun(5, {"7", "2"}, 3);
}

// Many queen counts and seeds: negative fitness (rows beyond the board),
// chromosomes that span machine words, runs that stop early.
TEST(ComparisonRunTest, QueenCountsAndSeedsSweepMatchesThePlainReference) {
  const uint32_t seeds[] = {1u, 0x9E3779B9u, 0xFFFFFFFFu};
  for (uint32_t seed : seeds)
    for (int n : {4, 5, 6, 7, 9, 12, 17}) {
      SCOPED_TRACE("N " + std::to_string(n) + " seed " + std::to_string(seed));
      SeedGuard guard(seed);
      ExpectSameRun(n, {"12", "3"});
      if (HasFatalFailure()) return;
    }
}

// A workbench's own source: the process-wide one is left untouched.
TEST(ComparisonRunTest, OwnRandomSourceMatchesThePlainReferenceAndLeavesTheGlobalOneAlone) {
  const uint32_t global = zp::GlobalRandom().Seed();
  zp::TRandom own(77u);
  ExpectSameRun(6, {"9", "2"}, 0, &own);
  EXPECT_EQ(zp::GlobalRandom().Seed(), global);
}

// Shared streams: every method starts from the same generator state, in each Run.
TEST(ComparisonRunTest, SharedStreamsMatchThePlainReference) {
  for (uint32_t seed : {0u, 12345u}) {
    zp::TRandom own(seed);
    ExpectSameRun(7, {"15", "4"}, 0, &own, true);
    if (HasFatalFailure()) return;
  }
}

TEST(ComparisonRunTest, LargeBoardMatchesThePlainReference) {
  SeedGuard guard(20240601u);
  ExpectSameRun(32, {"3"});
}

}  // namespace
