#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "engine/IntegerDecoder.h"
#include "engine/ZPGeneticAlgorithm.h"

using namespace zp::ga;

namespace {

// The plain decode, gene by gene; nullopt-like flag when it raises.
bool PlainDecode(const TZPGAGenes& genes, TZPGABits& bits, std::vector<int32_t>& values) {
  values.clear();
  try {
    for (int i = 0; i < genes.Count(); ++i) values.push_back(genes.Items(i).DecodeInteger(bits));
  } catch (const std::exception&) {
    return false;
  }
  return true;
}

}  // namespace

TEST(TIntegerDecoder, EqualsTheGenesOwnDecodeForEveryLayout) {
  // Genes of 0 to 40 bits (wider than the 32 an integer holds), signed and
  // unsigned, straddling words, and chromosomes that end before the last gene
  // or run on past it.
  std::mt19937 rng(7);
  TIntegerDecoder decoder;  // one decoder across genotypes: it must notice each new one
  for (int trial = 0; trial < 400; ++trial) {
    TZPGeneticAlgorithm ga;
    const int count = static_cast<int>(rng() % 14);
    for (int i = 0; i < count; ++i) {
      TZPGAGene& gene = ga.Genes().Add();
      gene.SetGeneType(TGeneType::gtInteger);
      gene.SetSize(static_cast<int>(rng() % 41));
      gene.SetPreserveSignBit(rng() % 3 == 0);
    }
    const int total = ga.Genes().TotalSize();
    TZPGABits bits(nullptr), plain_bits(nullptr);
    const int spare = static_cast<int>(rng() % 100);  // longer chromosomes have words past the last gene
    bits.SetSize(trial % 5 == 0 ? std::max(0, total - spare % 12) : trial % 5 == 1 ? total + spare : total);
    for (int p = 0; p < bits.Size(); ++p) bits.SetBit(p, rng() % 2 == 1);
    bits.SetPreserveSignBit(rng() % 2 == 0);
    plain_bits.Assign(bits);
    std::vector<int32_t> want, got{1, 2, 3};
    const bool ok = PlainDecode(ga.Genes(), plain_bits, want);
    if (!ok) {
      EXPECT_ANY_THROW(decoder.Decode(ga.Genes(), bits, got)) << "trial " << trial;
      continue;
    }
    decoder.Decode(ga.Genes(), bits, got);
    ASSERT_EQ(got, want) << "trial " << trial;
    EXPECT_EQ(bits.PreserveSignBit(), plain_bits.PreserveSignBit()) << "trial " << trial;
  }
}

TEST(TIntegerDecoder, FollowsChangesOfTheSameGenotype) {
  TZPGeneticAlgorithm ga;
  for (int i = 0; i < 6; ++i) ga.Genes().Add().SetSize(5);
  TZPGABits bits(nullptr);
  bits.SetSize(64);
  for (int p = 0; p < 64; p += 3) bits.SetBit(p, true);
  TIntegerDecoder decoder;
  std::vector<int32_t> got, want;
  auto same = [&] {
    decoder.Decode(ga.Genes(), bits, got);
    PlainDecode(ga.Genes(), bits, want);
    return got == want;
  };
  EXPECT_TRUE(same());
  ga.Genes().Items(2).SetSize(9);  // moves every later gene
  EXPECT_TRUE(same());
  ga.Genes().Items(4).SetPreserveSignBit(true);
  EXPECT_TRUE(same());
  ga.Genes().Delete(0);
  EXPECT_TRUE(same());
  ga.Genes().Clear();
  EXPECT_TRUE(same());
  EXPECT_TRUE(got.empty());
}
