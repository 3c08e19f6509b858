#include "engine/BitCount.h"

#include <algorithm>
#include <bit>

#include "engine/EngineIsa.h"

namespace zp::ga {

namespace {

// The last word's positions before Count.
uint64_t LastWordMask(int32_t count) { return (uint64_t{1} << (count % 64)) - 1; }

int32_t CountPortable(const uint64_t* words, int32_t count) {
  int32_t ones = 0;
  for (int32_t w = 0; w < count / 64; ++w) ones += std::popcount(words[w]);
  if (count % 64) ones += std::popcount(words[count / 64] & LastWordMask(count));
  return ones;
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same loop with the processor's population-count instruction, which the base instruction set lacks.
__attribute__((target("popcnt"))) int32_t CountPopcnt(const uint64_t* words, int32_t count) {
  int32_t ones = 0;
  for (int32_t w = 0; w < count / 64; ++w) ones += __builtin_popcountll(words[w]);
  if (count % 64) ones += __builtin_popcountll(words[count / 64] & LastWordMask(count));
  return ones;
}
#endif

using TCount = int32_t (*)(const uint64_t*, int32_t);

TCount BestCount() {
  static const TCount best = [] {
#if defined(__x86_64__) && defined(__GNUC__)
    if (IsaAllowed(TEngineIsa::eiAvx2) && __builtin_cpu_supports("popcnt")) return &CountPopcnt;
#endif
    return &CountPortable;
  }();
  return best;
}

}  // namespace

int32_t CountOnes(const uint64_t* Words, int32_t Count) { return Count <= 0 ? 0 : BestCount()(Words, Count); }

int32_t CountOnes(const TBits& Bits, int32_t Count) {
  return CountOnes(Bits.Words().data(), std::clamp(Count, 0, Bits.Size()));
}

}  // namespace zp::ga
