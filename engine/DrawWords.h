// Word-at-a-time forms of the two per-bit draw loops of the engine. Each
// gives exactly the bits (and leaves exactly the seed) of the plain loop
// that draws once per position, in ascending order:
//
//   mask bit k = (Random() < p)          ThresholdMask, FlipBelowThreshold
//   mask bit k = (RandomInt(2) == 1)     CoinMask
//
// The k-th next seed is a^k * seed + c_k (mod 2^32), so the 64 seeds of a
// word are computed independently of each other instead of in a chain, 8 or
// 16 at a time where the processor has AVX2 or AVX-512.
#pragma once

#include <cstdint>

#include "platform/Random.h"

namespace zp::ga {

// Draws n (1..64) times; bit k is set when draw k is below Threshold (see TRandom::Threshold).
uint64_t ThresholdMask(TRandom& Random, uint64_t Threshold, int n);

// Draws n (0 or more) times and flips position k of the packed bit string
// Words (bit k mod 64 of word k div 64, (n + 63) / 64 words) when draw k is
// below Threshold. Returns the union of the flip masks: 0 when nothing flipped.
uint64_t FlipBelowThreshold(TRandom& Random, uint64_t Threshold, int n, uint64_t* Words);

// Draws n (1..64) integer draws over {0, 1}; bit k is draw k.
uint64_t CoinMask(TRandom& Random, int n);

namespace detail {
// The forms FlipBelowThreshold chooses between, best first at run time.
enum class TDrawPath { dpPortable, dpAvx2, dpAvx512 };
// Compiled in and supported by this processor.
bool DrawPathAvailable(TDrawPath Path);
// FlipBelowThreshold of the draws after Seed through one form, for a 32-bit
// threshold; false (Words untouched) when the form is not available.
bool FlipBelowThreshold(TDrawPath Path, uint32_t Seed, uint32_t Threshold, int n, uint64_t* Words, uint64_t& Flipped);
}  // namespace detail

}  // namespace zp::ga
