#include <gtest/gtest.h>

#include "TestSupport.h"
#include "platform/Bits.h"
#include "platform/Exceptions.h"

using namespace zp;

TEST(TBits, GrowsOnWriteAndRejectsOutsideReads) {
  TBits b;
  EXPECT_THROW(b.Bit(0), EBitsError);
  b.SetBit(70, true);
  EXPECT_EQ(b.Size(), 71);
  EXPECT_FALSE(b.Bit(69));
  EXPECT_TRUE(b.Bit(70));
  EXPECT_THROW(b.SetBit(-1, true), EBitsError);
  EXPECT_EQ(b.Size(), 71);
  b.SetSize(65);
  b.SetSize(71);
  EXPECT_FALSE(b.Bit(70));  // shrinking drops bits, growing brings zeros
  EXPECT_THROW_MSG(b.Bit(71), EBitsError, "Bits index out of range");
}

TEST(TBits, WordRangeOperationsMatchBitLoops) {
  TBits src, a, ref;
  for (int i = 0; i < 200; ++i) src.SetBit(i, (i * 7 + 3) % 5 < 2);
  for (int first : {0, 1, 63, 64, 100})
    for (int last : {first, first + 1, 127, 128, 199}) {
      if (last >= 200 || last < first) continue;
      a.SetSize(0);
      a.SetSize(200);
      ref.SetSize(0);
      ref.SetSize(200);
      a.CopyRange(src, first, last);
      a.FlipRange(first, last);
      for (int i = first; i <= last; ++i) ref.SetBit(i, !src.Bit(i));
      ASSERT_TRUE(a == ref) << first << ".." << last;
    }
}

TEST(TBits, BlendTakesLowUpToTheCutAndHighAfterIt) {
  for (int size : {1, 63, 64, 65, 160, 200}) {
    TBits low, high, a;
    for (int i = 0; i < size; ++i) {
      low.SetBit(i, (i * 7 + 3) % 5 < 2);
      high.SetBit(i, (i * 11 + 1) % 3 == 0);
    }
    for (int cut : {-5, -1, 0, 1, 62, 63, 64, 65, 127, 128, size - 2, size - 1, size, size + 70}) {
      a.SetSize(size);
      a.Blend(low, high, cut);
      for (int i = 0; i < size; ++i) ASSERT_EQ(a.Bit(i), i <= cut ? low.Bit(i) : high.Bit(i)) << size << " " << cut;
      a.SetSize(size + 1);
      ASSERT_FALSE(a.Bit(size));  // the words past Size stay clear
    }
  }
}
