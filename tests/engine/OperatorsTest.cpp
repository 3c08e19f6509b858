#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "EngineTestSupport.h"

using namespace zp;
using namespace zp::ga;
using namespace enginetest;

using Op = TGAGeneticOperation;
using CM = TGACrossoverMethod;

namespace {

// Two parents and two children in a free-standing population, reproduced by a pinned component.
struct Operators : ::testing::Test {
  PinnedGA p;
  TZPGAPopulation pop;
  TZPGAIndividual& p1 = pop.Add();
  TZPGAIndividual& p2 = pop.Add();
  TZPGAIndividual& c1 = pop.Add();
  TZPGAIndividual& c2 = pop.Add();

  void Parents(const std::string& a, const std::string& b) {
    p1.Bits().SetSize(0);
    p2.Bits().SetSize(0);
    p1.Bits().SetBitText(0, static_cast<int>(a.size()), a);
    p2.Bits().SetBitText(0, static_cast<int>(b.size()), b);
    p1.SetFitness(1);
    p2.SetFitness(2);
  }
  // Crossover alone, with the cut forced by the handler.
  void CrossAt(int32_t cut) {
    p.ga.SetOperations({Op::goCrossover});
    p.ga.SetCrossoverProbability(1);
    p.ga.OnCrossover = [cut](auto&, TZPGAIndividual&, TZPGAIndividual&, TZPGAIndividual&, int32_t& bit, bool&) {
      bit = cut;
    };
    p.ga.ReproduceChildren(p1, p2, c1, c2);
  }
  // Pins the source so that the draw after the probability draw, over 0..n-1, gives k.
  void PinCutDraw(int n, int k) {
    for (uint32_t s = 0;; ++s) {
      RefRandom r{s};
      r.Next();
      if (r.Int(n) == k) {
        p.rng.SetSeed(s);
        return;
      }
    }
  }
  // The cut the component chooses, seen by the handler.
  int32_t ChosenCut() {
    int32_t seen = -99;
    p.ga.OnCrossover = [&](auto&, TZPGAIndividual&, TZPGAIndividual&, TZPGAIndividual&, int32_t& bit, bool&) {
      seen = bit;
    };
    p.ga.Crossover(p1, p2, c1, nullptr);
    return seen;
  }
};

std::string Ones(int n) { return std::string(static_cast<size_t>(n), '1'); }
std::string Zeros(int n) { return std::string(static_cast<size_t>(n), '0'); }

}  // namespace

TEST_F(Operators, WithoutOperationsChildrenAreCopiesAndNothingIsDrawn) {
  Parents("1100", "0011");
  p1.SetName("first");
  p.ga.SetOperations({});
  p.rng.SetSeed(5);
  p.ga.ReproduceChildren(p1, p2, c1, c2);
  EXPECT_EQ(c1.Bits().BitString(), "1100");
  EXPECT_EQ(c1.Fitness(), 1);
  EXPECT_EQ(c1.Name(), "first");
  EXPECT_EQ(c2.Bits().BitString(), "0011");
  EXPECT_EQ(c2.Fitness(), 2);
  p.ga.ReproduceChild(p2, p1, c1);
  EXPECT_EQ(c1.Bits().BitString(), "0011");
  EXPECT_EQ(p.rng.Seed(), 5u);
}

TEST_F(Operators, ACrossoverThatDoesNotFireDrawsOnceAndChangesNothing) {
  Parents(Ones(8), Zeros(8));
  p.ga.SetOperations({Op::goCrossover});
  p.ga.SetCrossoverProbability(0);
  p.rng.SetSeed(11);
  p.ga.ReproduceChildren(p1, p2, c1, c2);
  EXPECT_EQ(c1.Bits().BitString(), Ones(8));
  EXPECT_EQ(c2.Bits().BitString(), Zeros(8));
  EXPECT_EQ(p.rng.Seed(), Advance(11, 1));
}

TEST_F(Operators, OnePointCrossKeepsTheCutPositionWithTheFirstParent) {
  Parents(Ones(8), Zeros(8));
  CrossAt(2);
  EXPECT_EQ(c1.Bits().BitString(), "11100000");
  EXPECT_EQ(c2.Bits().BitString(), "00011111");

  CrossAt(7);  // at the last position: a copy of the first parent
  EXPECT_EQ(c1.Bits().BitString(), Ones(8));
  CrossAt(30);
  EXPECT_EQ(c2.Bits().BitString(), Zeros(8));
  CrossAt(-1);  // before the first position: everything from the second parent
  EXPECT_EQ(c1.Bits().BitString(), Zeros(8));

  // Across a word boundary.
  Parents(Ones(150), Zeros(150));
  CrossAt(70);
  EXPECT_EQ(c1.Bits().BitString(), Ones(71) + Zeros(79));
  EXPECT_EQ(c2.Bits().BitString(), Zeros(71) + Ones(79));

  // Every cut of a 150-bit pair.
  for (int cut = -1; cut <= 150; ++cut) {
    CrossAt(cut);
    const int head = std::min(cut + 1, 150);
    ASSERT_EQ(c1.Bits().BitString(), Ones(head) + Zeros(150 - head)) << cut;
    ASSERT_EQ(c2.Bits().BitString(), Zeros(head) + Ones(150 - head)) << cut;
  }

  // Positions beyond the second parent's size keep the child's value.
  Parents(Ones(8), Zeros(5));
  CrossAt(1);
  EXPECT_EQ(c1.Bits().BitString(), "11000111");
  EXPECT_EQ(c2.Bits().BitString(), "00111");
}

TEST_F(Operators, TheSecondCrossoverEventSeesWhatTheFirstLeft) {
  Parents(Ones(8), Zeros(8));
  p.ga.SetOperations({Op::goCrossover});
  p.ga.SetCrossoverProbability(0);
  std::vector<std::string> calls;
  p.ga.OnCrossover = [&](auto&, TZPGAIndividual& a, TZPGAIndividual& b, TZPGAIndividual& child, int32_t& bit,
                         bool& doIt) {
    calls.push_back(std::to_string(a.Index()) + std::to_string(b.Index()) + std::to_string(child.Index()) + ":" +
                    std::to_string(bit) + (doIt ? "y" : "n"));
    if (calls.size() == 1) {
      bit = 3;
      doIt = true;  // forcing the cross on the first call crosses both children
    }
  };
  p.rng.SetSeed(SeedForInts(8, {0, 5}));  // the probability draw, then the cut draw over 8 positions
  p.ga.SetCrossoverMethod(CM::cmBitBoundary);
  p.ga.ReproduceChildren(p1, p2, c1, c2);
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0], "012:5n");
  EXPECT_EQ(calls[1], "103:3y");
  EXPECT_EQ(c1.Bits().BitString(), "11110000");
  EXPECT_EQ(c2.Bits().BitString(), "00001111");
}

TEST_F(Operators, CrossoverCutPerMethod) {
  p.ga.SetCrossoverProbability(0);  // the handler keeps the cut choice running
  // Gene boundaries: eight 3-bit genes give the first positions 3, 6, ..., 21.
  for (int i = 0; i < 8; ++i) {
    TZPGAGene& g = p.ga.Genes().Add();
    g.SetGeneType(TGeneType::gtInteger);
    g.SetSize(3);
  }
  Parents(Zeros(24), Zeros(24));
  c1.Assign(p1);
  std::set<int32_t> cuts;
  for (uint32_t seed = 0; seed < 200; ++seed) {
    p.rng.SetSeed(seed);
    RefRandom ref{seed};
    ref.Real();
    const int32_t want = 3 * (1 + ref.Int(7));
    const int32_t cut = ChosenCut();
    EXPECT_EQ(cut, want);
    EXPECT_EQ(p.rng.Seed(), ref.seed);
    cuts.insert(cut);
  }
  EXPECT_EQ(cuts, (std::set<int32_t>{3, 6, 9, 12, 15, 18, 21}));

  // Bytes with GeneSize 24: the cut is 8, 16 or 24, after a draw over 24 div 8 = 3.
  EXPECT_EQ(p.ga.GeneSize(), 24);
  p.ga.SetCrossoverMethod(CM::cmByteBoundary);
  for (int k = 0; k < 3; ++k) {
    PinCutDraw(3, k);
    EXPECT_EQ(ChosenCut(), (k + 1) * 8);
  }
  // A chromosome shorter than the gene size still draws over its own size.
  Parents(Zeros(10), Zeros(10));
  c1.Assign(p1);
  PinCutDraw(10, 7);
  p.ga.SetCrossoverMethod(CM::cmBitBoundary);
  EXPECT_EQ(ChosenCut(), 7);
  // Word and longword boundaries fall back to a bit cut below 32 and 64 gene bits.
  p.ga.SetCrossoverMethod(CM::cmWordBoundary);
  PinCutDraw(10, 4);
  EXPECT_EQ(ChosenCut(), 4);
  p.ga.SetGeneSize(64);
  Parents(Zeros(64), Zeros(64));
  c1.Assign(p1);
  PinCutDraw(4, 2);
  EXPECT_EQ(ChosenCut(), 48);
  p.ga.SetCrossoverMethod(CM::cmLongwordBoundary);
  PinCutDraw(2, 1);
  EXPECT_EQ(ChosenCut(), 64);

  // Fewer than two genes: a plain bit cut.
  p.ga.Genes().Clear();
  p.ga.SetCrossoverMethod(CM::cmGeneBoundary);
  PinCutDraw(64, 33);
  EXPECT_EQ(ChosenCut(), 33);
}

TEST_F(Operators, ByteCrossoverAtTheEndCopiesTheFirstParent) {
  p.ga.SetGeneSize(24);
  Parents(Ones(24), Zeros(24));
  p.ga.SetOperations({Op::goCrossover});
  p.ga.SetCrossoverProbability(1);
  p.ga.SetCrossoverMethod(CM::cmByteBoundary);
  PinCutDraw(3, 2);  // cut 24
  p.ga.ReproduceChildren(p1, p2, c1, c2);
  EXPECT_EQ(c1.Bits().BitString(), Ones(24));
  EXPECT_EQ(c2.Bits().BitString(), Zeros(24));
  PinCutDraw(3, 0);  // cut 8: nine positions from the first
  p.ga.ReproduceChildren(p1, p2, c1, c2);
  EXPECT_EQ(c1.Bits().BitString(), Ones(9) + Zeros(15));
}

TEST_F(Operators, Mutation) {
  Parents("10110", "");
  c1.Assign(p1);
  // A veto prevents every flip and every draw.
  p.ga.SetMutationProbability(1);
  p.ga.OnMutation = [](auto&, TZPGAIndividual&, bool& doIt) { doIt = false; };
  p.rng.SetSeed(4);
  EXPECT_FALSE(p.ga.Mutate(c1));
  EXPECT_EQ(c1.Bits().BitString(), "10110");
  EXPECT_EQ(p.rng.Seed(), 4u);

  p.ga.OnMutation = nullptr;
  EXPECT_TRUE(p.ga.Mutate(c1));
  EXPECT_EQ(c1.Bits().BitString(), "01001");
  EXPECT_EQ(p.rng.Seed(), Advance(4, 5));

  // Probability 0 still draws once per position.
  p.ga.SetMutationProbability(0);
  EXPECT_FALSE(p.ga.Mutate(c1));
  EXPECT_EQ(c1.Bits().BitString(), "01001");
  EXPECT_EQ(p.rng.Seed(), Advance(4, 10));

  // An empty chromosome draws nothing and reports no change.
  TZPGAPopulation loose;
  EXPECT_FALSE(p.ga.Mutate(loose.Add()));
  EXPECT_EQ(p.rng.Seed(), Advance(4, 10));
}

TEST_F(Operators, RandomRunInversion) {
  // Invert: one probability draw, then start := draw(S), n := draw(S - start); positions start..start+n flip.
  Parents(Zeros(10), "");
  p.ga.SetInversionProbability(1);
  for (uint32_t seed : {0u, 1u, 77u, 0xABCDEF01u}) {
    c1.Assign(p1);
    p.rng.SetSeed(seed);
    RefRandom ref{seed};
    ref.Real();
    const int start = ref.Int(10);
    const int n = ref.Int(10 - start);
    EXPECT_TRUE(p.ga.Invert(c1));
    EXPECT_EQ(c1.Bits().BitString(), Zeros(start) + Ones(n + 1) + Zeros(10 - start - n - 1)) << seed;
    EXPECT_EQ(p.rng.Seed(), ref.seed);
  }

  // Runs across word boundaries of a 160-bit chromosome.
  Parents(Zeros(160), "");
  for (uint32_t seed = 0; seed < 300; ++seed) {
    c1.Assign(p1);
    p.rng.SetSeed(seed * 2654435761u);
    RefRandom ref{seed * 2654435761u};
    ref.Real();
    const int start = ref.Int(160);
    const int n = ref.Int(160 - start);
    p.ga.Invert(c1);
    ASSERT_EQ(c1.Bits().BitString(), Zeros(start) + Ones(n + 1) + Zeros(160 - start - n - 1)) << seed;
  }

  // A one-bit chromosome always flips; an empty one makes both draws and flips nothing.
  Parents("0", "");
  c1.Assign(p1);
  EXPECT_TRUE(p.ga.Invert(c1));
  EXPECT_EQ(c1.Bits().BitString(), "1");
  TZPGAPopulation loose;
  TZPGAIndividual& empty = loose.Add();
  p.rng.SetSeed(9);
  EXPECT_TRUE(p.ga.Invert(empty));
  EXPECT_EQ(empty.Bits().Size(), 0);
  EXPECT_EQ(p.rng.Seed(), Advance(9, 3));

  // The handler may veto or force.
  p.ga.OnInversion = [](auto&, TZPGAIndividual&, bool& doIt) { doIt = false; };
  EXPECT_FALSE(p.ga.Invert(c1));
  EXPECT_EQ(c1.Bits().BitString(), "1");
  p.ga.SetInversionProbability(0);
  p.ga.OnInversion = [](auto&, TZPGAIndividual&, bool& doIt) { doIt = true; };
  EXPECT_TRUE(p.ga.Invert(c1));
  EXPECT_EQ(c1.Bits().BitString(), "0");
}

TEST_F(Operators, PairInversionIgnoresTheInversionEvent) {
  Parents(Zeros(6), Zeros(6));
  p.ga.SetOperations({Op::goInvert});
  p.ga.SetInversionProbability(1);
  int asked = 0;
  p.ga.OnInversion = [&](auto&, TZPGAIndividual&, bool& doIt) {
    ++asked;
    doIt = false;
  };
  p.rng.SetSeed(21);
  p.ga.ReproduceChildren(p1, p2, c1, c2);
  EXPECT_EQ(asked, 0);
  EXPECT_NE(c1.Bits().BitString(), Zeros(6));
  EXPECT_NE(c2.Bits().BitString(), Zeros(6));
  EXPECT_EQ(p.rng.Seed(), Advance(21, 6));  // per child: a probability draw and the run's two draws

  // The single child of an odd generation goes through Invert, which asks.
  p.ga.ReproduceChild(p1, p2, c1);
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(c1.Bits().BitString(), Zeros(6));
}

TEST_F(Operators, DrawOrderOfAPairOfChildren) {
  // Crossover always (probability and cut draws), mutation never (one draw per position and child),
  // inversion always (per child a probability draw and two run draws): 2 + 2 * 7 + 6 draws.
  Parents(Ones(7), Zeros(7));
  p.ga.SetCrossoverMethod(CM::cmBitBoundary);
  p.ga.SetCrossoverProbability(1);
  p.ga.SetMutationProbability(0);
  p.ga.SetInversionProbability(1);
  const uint32_t seed = 1234567u;
  p.rng.SetSeed(seed);
  p.ga.ReproduceChildren(p1, p2, c1, c2);
  EXPECT_EQ(p.rng.Seed(), Advance(seed, 22));

  RefRandom ref{seed};
  ref.Real();
  const int cut = ref.Int(7);
  std::string a = Ones(cut + 1) + Zeros(6 - cut);
  std::string b = Zeros(cut + 1) + Ones(6 - cut);
  for (int i = 0; i < 14; ++i) ref.Real();
  for (std::string* s : {&a, &b}) {
    ref.Real();
    const int start = ref.Int(7);
    const int n = ref.Int(7 - start);
    for (int k = start; k <= start + n; ++k) (*s)[static_cast<size_t>(k)] ^= 1;
  }
  EXPECT_EQ(c1.Bits().BitString(), a);
  EXPECT_EQ(c2.Bits().BitString(), b);
}
