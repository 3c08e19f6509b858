// The N-Queens fitness read straight from a chromosome's packed words, for a
// genotype built for N (N genes of BitLength(N - 1) bits end to end from
// position 0, unsigned): the rows are cut from the words and the attacking
// pairs counted in one pass, with the same value as QueensFitness over the
// decoded rows. Three forms, chosen once at run time: AVX-512 and AVX2 compare
// every column's row and diagonals with every other column's in vector
// registers; the portable form counts them in byte tables.
//
//   const TPackedQueensFitness fitness = BestPackedQueensFitness();
//   double f = fitness(bits.Words().data(), n, BitLength(n - 1));
#pragma once

#include <cstdint>

namespace zp::queens {

// The most queens the packed forms take; more take the plain fitness.
inline constexpr int kMaxPackedQueens = 32;

// The fitness of the N genes of Bits bits each in Words (2 <= N <= kMaxPackedQueens,
// Bits = BitLength(N - 1)). Reads no word past the one holding bit N * Bits - 1.
using TPackedQueensFitness = int (*)(const uint64_t* Words, int N, int Bits);

enum class TPackedQueensPath { qpPortable, qpAvx2, qpAvx512 };

// The form of Path; nullptr when this build or processor cannot run it (the cap of ZP_ENGINE_ISA aside).
TPackedQueensFitness PackedQueensFitness(TPackedQueensPath Path);

// The widest form this processor runs within the engine's instruction-set cap, chosen once.
TPackedQueensFitness BestPackedQueensFitness();

}  // namespace zp::queens
