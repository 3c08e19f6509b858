// Word-at-a-time forms of the two per-bit draw loops of the engine. Each
// gives exactly the bits (and leaves exactly the seed) of the plain loop
// that draws once per position, in ascending order:
//
//   mask bit k = (Random() < p)          ThresholdMask
//   mask bit k = (RandomInt(2) == 1)     CoinMask
//
// The k-th next seed is a^k * seed + c_k (mod 2^32), so the 64 seeds of a
// word are computed independently of each other instead of in a chain.
#pragma once

#include <cstdint>

#include "platform/Random.h"

namespace zp::ga {

// Draws n (1..64) times; bit k is set when draw k is below Threshold (see TRandom::Threshold).
uint64_t ThresholdMask(TRandom& Random, uint64_t Threshold, int n);

// Draws n (1..64) integer draws over {0, 1}; bit k is draw k.
uint64_t CoinMask(TRandom& Random, int n);

namespace detail {
// The two forms ThresholdMask chooses between, for the seeds after Seed and a
// 32-bit threshold: the portable loop, and the AVX2 one (false when the
// processor lacks AVX2). Both must give the same mask.
uint64_t ThresholdMaskPortable(uint32_t Seed, uint32_t Threshold, int n);
bool ThresholdMaskVector(uint32_t Seed, uint32_t Threshold, int n, uint64_t& Mask);
}  // namespace detail

}  // namespace zp::ga
