#include <gtest/gtest.h>

#include <string>

#include "EngineTestSupport.h"
#include "platform/Strings.h"

using namespace zp;
using namespace zp::ga;
using namespace enginetest;

TEST(ZPGAPopulation, AddedIndividualsTakeTheOwnersGeneSize) {
  TZPGeneticAlgorithm ga;
  ga.SetGeneSize(24);
  TZPGAIndividual& i = ga.Population().Add();
  EXPECT_EQ(i.Bits().BitString(), std::string(24, '0'));
  EXPECT_EQ(i.Fitness(), 0);
  EXPECT_EQ(i.Bits().Individual(), &i);
  EXPECT_EQ(ga.Population().Algorithm(), &ga);

  TZPGAPopulation loose;
  EXPECT_EQ(loose.Add().Bits().Size(), 0);
  EXPECT_EQ(loose.Algorithm(), nullptr);

  // GeneSize re-sizes the current population only.
  ga.SetGeneSize(5);
  EXPECT_EQ(i.Bits().Size(), 5);
}

TEST(ZPGAPopulation, RelativeFitness) {
  PinnedGA p;
  p.Populate({1, 3});
  EXPECT_EQ(p.ga.Population().Items(0).RelativeFitness(), 0.25);
  EXPECT_EQ(p.ga.Population().Items(1).RelativeFitness(), 0.75);
  p.Populate({0, 0});
  EXPECT_EQ(p.ga.Population().Items(1).RelativeFitness(), 0);

  TZPGAPopulation loose;
  TZPGAIndividual& i = loose.Add();
  i.SetFitness(7);
  EXPECT_EQ(i.RelativeFitness(), 0);
}

TEST(ZPGAPopulation, RemovingTheFittestIndividualClearsTheReference) {
  PinnedGA p;
  p.ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  p.Populate({1, 9, 3});
  ASSERT_EQ(p.ga.FittestIndividual(), &p.ga.Population().Items(1));
  p.ga.Population().Delete(0);
  EXPECT_NE(p.ga.FittestIndividual(), nullptr);
  auto taken = p.ga.Population().Extract(p.ga.Population().Items(0));
  EXPECT_EQ(p.ga.FittestIndividual(), nullptr);
  p.ga.EvaluatePopulation();
  EXPECT_EQ(p.ga.FittestIndividual(), &p.ga.Population().Items(0));
}

TEST(ZPGAPopulation, AssignRebuildsWithTheSourceChromosomes) {
  TZPGAPopulation src;
  for (int k = 0; k < 32; ++k) {
    TZPGAIndividual& i = src.Add();
    i.Bits().SetBitText(0, 30, std::string(static_cast<size_t>(k % 30), '0') + "1");
    i.SetFitness(k);
    i.SetName("n" + std::to_string(k));
  }
  src.Items(3).Bits().SetPreserveSignBit(true);

  PinnedGA p;
  p.ga.SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  p.Populate({1, 2, 3}, 24);
  ASSERT_NE(p.ga.FittestIndividual(), nullptr);
  p.ga.SetPopulation(src);
  EXPECT_EQ(p.ga.FittestIndividual(), nullptr);  // it left with the old individuals
  ASSERT_EQ(p.ga.Population().Count(), 32);
  for (int k = 0; k < 32; ++k) {
    const TZPGAIndividual& i = p.ga.Population().Items(k);
    EXPECT_EQ(i.Bits().Size(), 30);  // the source's size, not GeneSize 24
    EXPECT_EQ(i.Bits().BitString(), src.Items(k).Bits().BitString());
    EXPECT_EQ(i.Fitness(), k);
    EXPECT_EQ(i.Name(), "n" + std::to_string(k));
  }
  EXPECT_TRUE(p.ga.Population().Items(3).Bits().PreserveSignBit());
  EXPECT_FALSE(p.ga.Population().Items(4).Bits().PreserveSignBit());
}

TEST(ZPGAIndividual, AssignAndDisplayName) {
  TZPGAPopulation pop;
  TZPGAIndividual& a = pop.Add();
  TZPGAIndividual& b = pop.Add();
  a.SetFitness(2.5);
  a.SetName("alpha");
  a.Bits().SetBitText(0, 3, "101");
  b.Bits().SetBitText(0, 9, "111111111");
  b.Assign(a);
  EXPECT_EQ(b.Fitness(), 2.5);
  EXPECT_EQ(b.DisplayName(), "alpha");
  EXPECT_EQ(b.Bits().BitString(), "101");
  EXPECT_EQ(b.Bits().Individual(), &b);  // the chromosome still belongs to b
  EXPECT_EQ(pop.Add().DisplayName(), "TZPGAIndividual");

  TStrings other;
  EXPECT_THROW(b.Assign(other), EConvertError);
}

TEST(ZPGAPopulation, RandomChromosomesDrawOneCoinPerBitInOrder) {
  // From seed 0 the first eight seeds are 1, 134775814, 3698175007, 870078620,
  // 1172187917, 2884733762, 1368768587, 694906232; a draw over {0, 1} is 1
  // exactly when the seed is at least 2^31.
  TZPGeneticAlgorithm ga;
  TRandom rng;
  ga.SetRandomSource(rng);
  ga.SetGeneSize(4);
  ga.SetInitialPopulation(2);
  ga.Initialize();
  EXPECT_EQ(ga.Population().Items(0).Bits().BitString(), "0010");
  EXPECT_EQ(ga.Population().Items(1).Bits().BitString(), "0100");
  EXPECT_EQ(rng.Seed(), 694906232u);
  EXPECT_EQ(ga.PreviousPopulation()->Items(1).Bits().BitString(), "0100");
}

TEST(ZPGAPopulation, RandomChromosomesMatchAPerBitLoopAcrossWords) {
  for (uint32_t seed : {0u, 12345u, 0xFFFFFFFFu}) {
    TZPGeneticAlgorithm ga;
    TRandom rng(seed);
    ga.SetRandomSource(rng);
    ga.SetGeneSize(70);
    ga.SetInitialPopulation(3);
    ga.Population().Add().Bits().SetSize(130);  // individuals keep their own sizes
    ga.Initialize();
    RefRandom ref{seed};
    for (int i = 0; i < 3; ++i) {
      const TZPGABits& bits = ga.Population().Items(i).Bits();
      std::string expected;
      for (int k = 0; k < bits.Size(); ++k) expected += ref.Int(2) == 1 ? '1' : '0';
      EXPECT_EQ(bits.BitString(), expected) << "seed " << seed << " individual " << i;
    }
    EXPECT_EQ(ga.Population().Items(0).Bits().Size(), 130);
    EXPECT_EQ(rng.Seed(), ref.seed);
  }
}

TEST(ZPGAPopulation, AnInitializationHandlerThatFillsTheChromosomesMakesNoDraws) {
  PinnedGA p;
  p.rng.SetSeed(77);
  p.ga.SetGeneSize(6);
  p.ga.SetInitialPopulation(3);
  int calls = 0;
  p.ga.OnInitialization = [&](TZPCustomGeneticAlgorithm& sender, bool& initialized) {
    EXPECT_EQ(&sender, &p.ga);
    EXPECT_FALSE(initialized);
    EXPECT_EQ(sender.Population().Count(), 3);  // filled before the handler runs
    ++calls;
    sender.Population().Items(1).Bits().SetBitText(0, 6, "110011");
    initialized = true;
  };
  p.ga.Initialize();
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(p.rng.Seed(), 77u);
  EXPECT_EQ(p.ga.Population().Items(1).Bits().BitString(), "110011");
  EXPECT_EQ(p.ga.Population().Items(0).Bits().BitString(), "000000");
}
