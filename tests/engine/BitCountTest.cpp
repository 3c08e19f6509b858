// Counting ones over exactly the first Count positions of a chromosome.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "engine/BitCount.h"
#include "platform/Bits.h"

namespace {

using zp::ga::CountOnes;

TEST(CountOnes, CountsExactlyTheFirstPositionsWhateverLiesPastThem) {
  std::mt19937_64 gen(4);
  // Every bit set past Count, in the same word and the next: none of them may count.
  std::vector<uint64_t> words(5);
  for (int count = 0; count <= 4 * 64; ++count) {
    for (uint64_t& w : words) w = gen();
    for (int k = count; k < 5 * 64; ++k) words[static_cast<size_t>(k / 64)] |= uint64_t{1} << (k % 64);
    int expected = 0;
    for (int k = 0; k < count; ++k) expected += static_cast<int>((words[static_cast<size_t>(k / 64)] >> (k % 64)) & 1);
    ASSERT_EQ(CountOnes(words.data(), count), expected) << count;
  }
  EXPECT_EQ(CountOnes(words.data(), -3), 0);
}

TEST(CountOnes, ABitSetCountsUpToItsSize) {
  zp::TBits bits;
  bits.SetSize(70);
  for (int k : {0, 5, 63, 64, 69}) bits.SetBit(k, true);
  EXPECT_EQ(CountOnes(bits, 70), 5);
  EXPECT_EQ(CountOnes(bits, 64), 3);
  EXPECT_EQ(CountOnes(bits, 6), 2);
  EXPECT_EQ(CountOnes(bits, 500), 5);  // taken as the size
  EXPECT_EQ(CountOnes(bits, 0), 0);
  EXPECT_EQ(CountOnes(zp::TBits(), 10), 0);
}

}  // namespace
