#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "EngineTestSupport.h"
#include "TestSupport.h"
#include "platform/Numbers.h"

using namespace zp;
using namespace zp::ga;

namespace {

TZPGAGene& IntegerGene(TZPGAGenes& genes, int size, bool sign = false) {
  TZPGAGene& g = genes.Add();
  g.SetGeneType(TGeneType::gtInteger);
  g.SetPreserveSignBit(sign);
  g.SetSize(size);
  return g;
}

}  // namespace

TEST(ZPGAGenes, GenesLieEndToEndAndFollowResizes) {
  TZPGAGenes genes(nullptr);
  EXPECT_EQ(genes.TotalSize(), 0);
  IntegerGene(genes, 3);
  TZPGAGene& middle = IntegerGene(genes, 5);
  TZPGAGene& last = IntegerGene(genes, 2);
  EXPECT_EQ(genes.Items(0).Offset(), 0);
  EXPECT_EQ(middle.Offset(), 3);
  EXPECT_EQ(last.Offset(), 8);
  EXPECT_EQ(genes.TotalSize(), 10);

  middle.SetSize(1);
  EXPECT_EQ(last.Offset(), 4);
  EXPECT_EQ(genes.TotalSize(), 6);

  genes.Delete(0);  // removing a gene re-lays the whole genotype
  EXPECT_EQ(genes.Items(0).Offset(), 0);
  EXPECT_EQ(genes.Items(1).Offset(), 1);
  EXPECT_EQ(genes.TotalSize(), 3);

  genes.Items(1).SetIndex(0);  // a move re-lays it too
  EXPECT_EQ(genes.Items(0).Size(), 2);
  EXPECT_EQ(genes.Items(1).Offset(), 2);
}

TEST(ZPGAGenes, ResizingAGeneGrowsButNeverShrinksTheAlgorithmsGeneSize) {
  TZPGeneticAlgorithm ga;
  ga.Population().Add();
  TZPGAGene& g = IntegerGene(ga.Genes(), 4);
  IntegerGene(ga.Genes(), 6);
  EXPECT_EQ(ga.GeneSize(), 10);
  EXPECT_EQ(ga.Population().Items(0).Bits().Size(), 10);
  g.SetSize(1);
  EXPECT_EQ(ga.Genes().TotalSize(), 7);
  EXPECT_EQ(ga.GeneSize(), 10);
  EXPECT_EQ(ga.Genes().Algorithm(), &ga);
}

TEST(ZPGAGene, ResetRangeFollowsSizeTypeAndSign) {
  TZPGAGenes genes(nullptr);
  TZPGAGene& g = IntegerGene(genes, 4);
  EXPECT_EQ(g.MinValue(), 0);
  EXPECT_EQ(g.MaxValue(), 15);
  g.SetPreserveSignBit(true);
  EXPECT_EQ(g.MinValue(), -8);
  EXPECT_EQ(g.MaxValue(), 7);
  g.SetGeneType(TGeneType::gtFloat);
  EXPECT_EQ(g.MinValue(), -8);
  EXPECT_EQ(g.MaxValue(), 7);

  // Booleans keep whatever bounds they had.
  g.SetGeneType(TGeneType::gtBoolean);
  g.SetMaxValue(40);
  g.SetSize(1);
  EXPECT_EQ(g.MaxValue(), 40);
  EXPECT_EQ(g.MinValue(), -8);
}

TEST(ZPGAGene, StoredBoundsSurviveTheSetterOrder) {
  // Streaming applies GeneType, Size, MaxValue, MinValue in that order.
  TZPGAGenes genes(nullptr);
  TZPGAGene& g = genes.Add();
  g.SetGeneType(TGeneType::gtInteger);
  g.SetSize(3);
  g.SetMaxValue(-1);
  EXPECT_EQ(g.MinValue(), 0);  // -1 - 8 = -9, then no negative minimum without a sign
  g.SetMinValue(-8);
  EXPECT_EQ(g.MaxValue(), -1);
  EXPECT_EQ(g.MinValue(), -8);
}

TEST(ZPGAGene, MaxAndMinSettersAreNotMirrorImages) {
  TZPGAGenes genes(nullptr);
  TZPGAGene& g = IntegerGene(genes, 3);  // 0..7, P = 8
  g.SetMaxValue(10);                     // 10 - 0 < 16: min := 10 - 8
  EXPECT_EQ(g.MinValue(), 2);
  g.SetMaxValue(100);  // 98 >= 16: min stays
  EXPECT_EQ(g.MinValue(), 2);
  g.SetMinValue(3);  // 97 > 7: max := 3 + 7
  EXPECT_EQ(g.MaxValue(), 10);
  g.SetMinValue(4);  // 6 <= 7 and max >= min: max stays
  EXPECT_EQ(g.MaxValue(), 10);
  g.SetMinValue(30);  // max < min: max := 37
  EXPECT_EQ(g.MaxValue(), 37);
  g.SetMinValue(-50);  // no clamp to 0 in this setter
  EXPECT_EQ(g.MinValue(), -50);
  EXPECT_EQ(g.MaxValue(), -43);

  // Setting the stored value again runs no rule.
  TZPGAGene& h = IntegerGene(genes, 3);
  h.SetMinValue(5);
  h.SetMaxValue(7);
  EXPECT_EQ(h.MinValue(), 5);

  // With a sign the minimum may stay negative.
  TZPGAGene& s = IntegerGene(genes, 3, true);  // -4..3
  s.SetMaxValue(5);                            // 9 < 16: min := 5 - 8
  EXPECT_EQ(s.MinValue(), -3);
}

TEST(ZPGAGene, EncodeClampsNumbersToTheBounds) {
  TZPGAGenes genes(nullptr);
  TZPGAGene& g = IntegerGene(genes, 3);
  TZPEncodedBits b;
  g.EncodeInteger(b, 0, 12);
  EXPECT_EQ(g.DecodeInteger(b, 0), 7);
  g.EncodeInteger(b, 0, -5);
  EXPECT_EQ(g.DecodeInteger(b, 0), 0);
  g.EncodeInt64(b, 0, int64_t{1} << 40);
  EXPECT_EQ(g.DecodeInteger(b, 0), 7);

  // Integer writes round the bound half to even: 5.5 -> 6, 2.5 -> 2.
  TZPGAGene& h = IntegerGene(genes, 4);
  h.SetMaxValue(5.5);
  h.SetMinValue(2.5);
  ASSERT_EQ(h.MaxValue(), 5.5);
  h.EncodeInteger(b, 0, 100);
  EXPECT_EQ(h.DecodeInteger(b, 0), 6);
  h.EncodeInteger(b, 0, -1);
  EXPECT_EQ(h.DecodeInteger(b, 0), 2);
  h.EncodeInteger(b, 0, 4);
  EXPECT_EQ(h.DecodeInteger(b, 0), 4);

  // Float writes take the bound as it is.
  TZPGAGene& f = genes.Add();
  f.SetGeneType(TGeneType::gtFloat);
  f.SetSize(24);
  f.SetMaxValue(2.5);
  f.EncodeDouble(b, 0, 10);
  EXPECT_EQ(f.DecodeFloat(b, 0), 2.5f);
  f.EncodeSingle(b, 0, -1.0f);
  EXPECT_EQ(f.DecodeFloat(b, 0), 0.0f);

  // Booleans are not clamped.
  TZPGAGene& flag = genes.Add();
  flag.SetGeneType(TGeneType::gtBoolean);
  flag.SetSize(1);
  flag.EncodeBoolean(b, 0, true);
  EXPECT_TRUE(flag.DecodeBoolean(b, 0));
}

TEST(ZPGAGene, ReadsUseTheGenesOwnSignAndOffset) {
  TZPGAGenes genes(nullptr);
  IntegerGene(genes, 2);
  TZPGAGene& s = IntegerGene(genes, 3, true);  // offset 2
  TZPEncodedBits b;
  b.SetBitText(0, 5, "11110");  // the signed gene holds 110: magnitude 3, sign 0
  EXPECT_EQ(s.DecodeInteger(b), 3);
  b.SetBitText(0, 5, "11111");
  EXPECT_EQ(s.DecodeInteger(b), -3);
  b.SetBitText(0, 5, "11001");
  EXPECT_EQ(s.DecodeInteger(b), INT_MIN);  // negative zero
  EXPECT_TRUE(b.PreserveSignBit());
  EXPECT_EQ(genes.Items(0).DecodeInteger(b), 3);
  EXPECT_FALSE(b.PreserveSignBit());

  s.EncodeInteger(b, -2);
  EXPECT_EQ(b.BitText(0, 5), "11011");
  // Reading ignores the bounds: an unsigned 3-bit gene reads 0..7 whatever they say.
  TZPGAGene& u = IntegerGene(genes, 3);
  u.SetMaxValue(30);
  u.SetMinValue(25);
  b.SetBitText(5, 3, "111");
  EXPECT_EQ(u.DecodeInteger(b), 7);
}

TEST(ZPGAGene, Enumerations) {
  TZPGAGenes genes(nullptr);
  TZPGAGene& g = genes.Add();
  g.SetGeneType(TGeneType::gtEnumeration);
  g.SetPreserveSignBit(true);  // enumerations are written and read unsigned anyway
  g.SetEnumerations(TStrings{"red", "green", "blue"});
  EXPECT_EQ(g.Size(), 2);
  EXPECT_EQ(g.MinValue(), 0);
  EXPECT_EQ(g.MaxValue(), 2);

  TZPEncodedBits b;
  g.EncodeEnumeration(b, "GREEN");
  EXPECT_EQ(b.BitText(0, 2), "10");
  EXPECT_EQ(g.DecodeEnumeration(b), "green");

  EXPECT_THROW_MSG(g.EncodeEnumeration(b, "purple"), EGAException, "\"purple\" is not a valid enumerated value");
  EXPECT_EQ(b.BitText(0, 2), "10");  // unchanged

  b.SetBitText(0, 2, "11");  // index 3
  EXPECT_THROW_MSG(g.DecodeEnumeration(b), EGAException, "No enumerated value found in chromosome");

  // The size is the bit length of the number of values: four values take 3 bits.
  g.MutableEnumerations().Add("black");
  EXPECT_EQ(g.Size(), 3);
  EXPECT_EQ(g.MaxValue(), 3);
  // A fifth value leaves the size, and so the range, as it was.
  g.MutableEnumerations().Add("white");
  EXPECT_EQ(g.Size(), 3);
  EXPECT_EQ(g.MaxValue(), 3);
  // Enumeration bounds: MinValue sets MaxValue to min + n - 1 in every case.
  g.SetMinValue(1);
  EXPECT_EQ(g.MaxValue(), 5);

  TZPGAGene& empty = genes.Add();
  empty.SetGeneType(TGeneType::gtEnumeration);
  empty.SetSize(1);
  EXPECT_THROW(empty.DecodeEnumeration(b, 0), EGAException);
}

TEST(ZPGAGene, IntegerValueReadsTheAlgorithmsPopulation) {
  TZPGeneticAlgorithm ga;
  IntegerGene(ga.Genes(), 3);
  TZPGAGene& g = IntegerGene(ga.Genes(), 3);
  ga.Population().Add();
  ga.Population().Add().Bits().SetBitText(3, 3, "011");
  EXPECT_EQ(g.IntegerValue(1), 6);
  EXPECT_EQ(g.IntegerValue(0), 0);
  EXPECT_THROW_MSG(g.IntegerValue(5), EListError, "List index out of bounds (5)");
  TZPGAGenes loose(nullptr);
  EXPECT_THROW(IntegerGene(loose, 3).IntegerValue(0), EListError);
}

TEST(ZPGAGene, AssignCopiesPlainValues) {
  TZPGAGenes genes(nullptr);
  TZPGAGene& src = genes.Add();
  src.SetGeneType(TGeneType::gtEnumeration);
  src.SetName("colour");
  src.SetEnumerations(TStrings{"a", "b", "c"});
  src.SetSize(7);  // no longer what the list would give
  src.SetMaxValue(40);
  src.SetMinValue(-3);
  TZPGAGene& dst = IntegerGene(genes, 5);  // offset 7
  dst.Assign(src);
  EXPECT_EQ(dst.GeneType(), TGeneType::gtEnumeration);
  EXPECT_EQ(dst.Name(), "colour");
  EXPECT_EQ(dst.DisplayName(), "colour");
  EXPECT_EQ(dst.Size(), 7);
  EXPECT_EQ(dst.MinValue(), src.MinValue());
  EXPECT_EQ(dst.MaxValue(), src.MaxValue());
  EXPECT_EQ(dst.Enumerations().Count(), 3);
  EXPECT_EQ(dst.Offset(), 7);

  // A non-enumeration source discards the target's list.
  TZPGAGene& plain = IntegerGene(genes, 2);
  dst.Assign(plain);
  EXPECT_EQ(dst.Enumerations().Count(), 0);
  EXPECT_EQ(dst.Size(), 2);
  EXPECT_EQ(dst.DisplayName(), "TZPGAGene");

  TStrings other;
  EXPECT_THROW_MSG(dst.Assign(other), EConvertError, "Cannot assign a TStrings to a TZPGAGene");
}

TEST(TZPGAGenes, RevisionsAreNeverRepeatedByALaterGenotype) {
  // A reader that remembers (genotype, revision) must not mistake a new
  // genotype made at a freed one's address, after as many changes, for the old one.
  uint64_t seen = 0;
  for (int round = 0; round < 3; ++round) {
    auto genes = std::make_unique<TZPGAGenes>(nullptr);
    EXPECT_GT(genes->Revision(), seen);
    genes->Add().SetSize(3);
    EXPECT_GT(genes->Revision(), seen);
    seen = genes->Revision();
  }
}
