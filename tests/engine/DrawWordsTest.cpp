#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "EngineTestSupport.h"
#include "engine/DrawWords.h"

using namespace zp;
using namespace zp::ga;
using namespace enginetest;

namespace {

const double kProbabilities[] = {0.0, 1.0, 1.0 / 24.0, 0.5, 1e-9, 4.9e-324, 0.9999999999, 0.3};
const uint32_t kSeeds[] = {0u, 1u, 2u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0x12345678u, 0x9E3779B9u, 0xDEADBEEFu};

}  // namespace

TEST(DrawWords, ThresholdMaskEqualsOneRealDrawPerBit) {
  for (double p : kProbabilities)
    for (uint32_t seed : kSeeds)
      for (int n : {1, 2, 17, 63, 64}) {
        TRandom rng(seed);
        const uint64_t mask = ThresholdMask(rng, TRandom::Threshold(p), n);
        RefRandom ref{seed};
        uint64_t want = 0;
        for (int k = 0; k < n; ++k)
          if (ref.Real() < p) want |= uint64_t{1} << k;
        EXPECT_EQ(mask, want) << "p " << p << " seed " << seed << " n " << n;
        EXPECT_EQ(rng.Seed(), ref.seed);
      }
}

TEST(DrawWords, ThresholdSitsExactlyAtTheProbability) {
  // A draw of exactly 0.5 does not fire at 0.5; the one below does.
  for (auto [next, fires] : {std::pair{0x7FFFFFFFu, true}, std::pair{0x80000000u, false}}) {
    TRandom rng(SeedBefore(next));
    EXPECT_EQ(ThresholdMask(rng, TRandom::Threshold(0.5), 1), fires ? 1u : 0u);
  }
  // Seed 0 gives a draw of 0, below every positive probability.
  TRandom zero(SeedBefore(0));
  EXPECT_EQ(ThresholdMask(zero, TRandom::Threshold(4.9e-324), 1), 1u);
}

TEST(DrawWords, CoinMaskEqualsOneIntegerDrawPerBit) {
  for (uint32_t seed : kSeeds)
    for (int n = 1; n <= 64; ++n) {
      TRandom rng(seed);
      const uint64_t mask = CoinMask(rng, n);
      RefRandom ref{seed};
      uint64_t want = 0;
      for (int k = 0; k < n; ++k)
        if (ref.Int(2) == 1) want |= uint64_t{1} << k;
      ASSERT_EQ(mask, want) << "seed " << seed << " n " << n;
      ASSERT_EQ(rng.Seed(), ref.seed);
    }
}

TEST(DrawWords, MutationEqualsThePerBitLoop) {
  for (double p : kProbabilities)
    for (int size : {1, 63, 64, 65, 160})
      for (uint32_t seed = 0; seed < 40; ++seed) {
        PinnedGA g;
        g.ga.SetMutationProbability(p);
        TZPGAPopulation pop;
        TZPGAIndividual& item = pop.Add();
        std::string start;
        for (int k = 0; k < size; ++k) start += (k * 7 + static_cast<int>(seed)) % 3 == 0 ? '1' : '0';
        item.Bits().SetBitText(0, size, start);
        const uint32_t s = seed * 2654435761u;
        g.rng.SetSeed(s);
        const bool changed = g.ga.Mutate(item);

        RefRandom ref{s};
        std::string want = start;
        bool flipped = false;
        for (int k = 0; k < size; ++k)
          if (ref.Real() < p) {
            want[static_cast<size_t>(k)] = want[static_cast<size_t>(k)] == '1' ? '0' : '1';
            flipped = true;
          }
        ASSERT_EQ(item.Bits().BitString(), want) << "p " << p << " size " << size << " seed " << s;
        ASSERT_EQ(changed, flipped);
        ASSERT_EQ(g.rng.Seed(), ref.seed);
        ASSERT_EQ(item.Bits().Size(), size);
      }
}

TEST(DrawWords, RandomChromosomesEqualThePerBitLoop) {
  for (int size : {1, 63, 64, 65, 160})
    for (uint32_t seed : kSeeds) {
      PinnedGA g;
      g.rng.SetSeed(seed);
      g.ga.SetGeneSize(size);
      g.ga.SetInitialPopulation(3);
      g.ga.Initialize();
      RefRandom ref{seed};
      for (int i = 0; i < 3; ++i) {
        std::string want;
        for (int k = 0; k < size; ++k) want += ref.Int(2) == 1 ? '1' : '0';
        ASSERT_EQ(g.ga.Population().Items(i).Bits().BitString(), want) << "size " << size << " seed " << seed;
      }
      ASSERT_EQ(g.rng.Seed(), ref.seed);
      // The words past the last position stay clear, so growing appends zeros.
      g.ga.Population().Items(0).Bits().SetSize(size + 1);
      ASSERT_EQ(g.ga.Population().Items(0).Bits().Bit(size), false);
    }
}

namespace {

// Each form of the mutation draws against the plain loop, one draw per
// position: words of any length, thresholds of every size, and the bits of
// the words past the last draw left alone.
void ExpectFormEqualsThePlainLoop(zp::ga::detail::TDrawPath path) {
  zp::TRandom seeds(12345);
  for (int round = 0; round < 3000; ++round) {
    const uint32_t seed = seeds.Next();
    const uint32_t threshold = round % 3 == 0 ? seeds.Next() : seeds.Next() >> (round % 29);
    const int n = round % 200;
    std::vector<uint64_t> want(5), got(5);
    for (auto& w : want) w = static_cast<uint64_t>(seeds.Next()) << 32 | seeds.Next();
    got = want;
    uint32_t s = seed;
    uint64_t any = 0;
    for (int k = 0; k < n; ++k) {
      s = s * kMultiplier + 1u;
      if (s < threshold) {
        want[static_cast<size_t>(k / 64)] ^= uint64_t{1} << (k % 64);
        any = 1;
      }
    }
    uint64_t flipped = 0;
    ASSERT_TRUE(zp::ga::detail::FlipBelowThreshold(path, seed, threshold, n, got.data(), flipped));
    ASSERT_EQ(got, want) << "round " << round << " n " << n;
    ASSERT_EQ(flipped != 0, any != 0) << "round " << round;
  }
}

}  // namespace

TEST(DrawWords, EveryFormOfTheMutationDrawsEqualsThePlainLoop) {
  using zp::ga::detail::TDrawPath;
  ASSERT_TRUE(zp::ga::detail::DrawPathAvailable(TDrawPath::dpPortable));
  ExpectFormEqualsThePlainLoop(TDrawPath::dpPortable);
  if (!zp::ga::detail::DrawPathAvailable(TDrawPath::dpAvx2)) GTEST_SKIP() << "this processor has no AVX2";
  ExpectFormEqualsThePlainLoop(TDrawPath::dpAvx2);
}

TEST(DrawWords, Avx512FormOfTheMutationDrawsEqualsThePlainLoop) {
  using zp::ga::detail::TDrawPath;
  if (!zp::ga::detail::DrawPathAvailable(TDrawPath::dpAvx512)) GTEST_SKIP() << "this processor has no AVX-512";
  ExpectFormEqualsThePlainLoop(TDrawPath::dpAvx512);
}
