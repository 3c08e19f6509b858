// Rank 0's share-out: every repeat once and in order, chunks that shrink to
// what a rank asks for near the end, never a window ahead of the writer.
#include <gtest/gtest.h>

#include <vector>

#include "cli/mpi/HandOut.h"

namespace {

using zp::cli::mpi::THandOut;

TEST(THandOut, EveryRepeatOnceInOrderWithChunksShrinkingToTheRequest) {
  THandOut h(1000, 2, 8);
  std::vector<size_t> sizes;
  size_t expected_first = 0;
  while (!h.AllHandedOut()) {
    const auto [first, count] = h.Next(1, expected_first);  // the writer keeps up
    ASSERT_GT(count, 0u);
    EXPECT_EQ(first, expected_first);
    expected_first += count;
    sizes.push_back(count);
  }
  EXPECT_EQ(expected_first, 1000u);
  EXPECT_EQ(sizes.front(), 8u);  // capped while much is left
  EXPECT_EQ(sizes.back(), 1u);   // one at a time at the end
  EXPECT_EQ(h.Next(1, 1000).second, 0u);
}

TEST(THandOut, ARankGetsAtLeastWhatItCanStartButNoMoreThanIsLeft) {
  THandOut h(10, 8, 4);
  EXPECT_EQ(h.Next(0, 0).second, 0u);
  EXPECT_EQ(h.Next(6, 0).second, 6u);
  EXPECT_EQ(h.Next(6, 0), std::make_pair(size_t{6}, size_t{4}));
  EXPECT_TRUE(h.AllHandedOut());
}

TEST(THandOut, WaitsWhileTheWriterIsAWindowBehind) {
  THandOut h(100000, 1, 1);  // a window of 65 repeats
  size_t handed = 0;
  while (h.Next(1, 0).second == 1) ++handed;
  EXPECT_EQ(handed, 65u);
  EXPECT_EQ(h.Next(1, 1).second, 1u);  // the writer moved on by one
  EXPECT_EQ(h.Next(1, 1).second, 0u);
}

}  // namespace
