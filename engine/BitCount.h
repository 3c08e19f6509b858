// Counting the 1 bits of a chromosome a word at a time, over exactly its first
// Count positions: the word holding the last of them is masked, so bits past
// them (a wider chromosome's other positions) never enter the count. For
// fitness functions of bit problems (OneMax, and any that count ones).
//
//   const int32_t ones = CountOnes(item.Bits(), genes.TotalSize());
#pragma once

#include <cstdint>

#include "platform/Bits.h"

namespace zp::ga {

// The 1 bits at positions 0 .. Count - 1 of Bits; Count is taken as 0 below 0 and as Bits.Size() above it.
int32_t CountOnes(const TBits& Bits, int32_t Count);

// The 1 bits at positions 0 .. Count - 1 of packed words (position k is bit k mod 64 of word k div 64);
// reads the (Count + 63) / 64 words that hold them and no other. Count <= 0 counts 0.
int32_t CountOnes(const uint64_t* Words, int32_t Count);

}  // namespace zp::ga
