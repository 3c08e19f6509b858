// A generation reuses both population buffers and every table: once they
// exist, evolving allocates nothing, whatever the selection method.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "engine/ZPGeneticAlgorithm.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
}  // namespace

// The replacement pair below is a matched malloc/free pair; GCC cannot see that.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

using namespace zp::ga;

TEST(TZPCustomGeneticAlgorithm, EvolveAllocatesNothingOnceBothBuffersExist) {
  counting = true;
  ::operator delete(::operator new(8));  // the counter itself works
  counting = false;
  ASSERT_EQ(allocations.load(), 1);
  for (TGASelectionMethod method :
       {TGASelectionMethod::smRoulette, TGASelectionMethod::smRandom, TGASelectionMethod::smTournament,
        TGASelectionMethod::smStochasticTournament, TGASelectionMethod::smElitist}) {
    zp::TRandom random(7);
    TZPGeneticAlgorithm ga;
    ga.SetRandomSource(random);
    ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
    ga.SetInitialPopulation(33);  // odd: the single-child path too
    for (int i = 0; i < 6; ++i) {
      TZPGAGene& gene = ga.Genes().Add();
      gene.SetGeneType(TGeneType::gtInteger);
      gene.SetSize(13);  // 78 bits: chromosomes span two words
    }
    ga.OnEvaluateFitness = [](TZPCustomGeneticAlgorithm&, TZPGAIndividual& item, TGAFitness& f) {
      f = item.Bits().ReadInteger(0, 16);
    };
    ga.SetSelectionMethod(method);
    ga.Initialize();
    ga.Evolve();  // the first generation may build the tables
    allocations = 0;
    counting = true;
    ga.EvolveGenerations(20);
    counting = false;
    EXPECT_EQ(allocations.load(), 0) << ToString(method);
  }
}
