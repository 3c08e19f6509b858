#include "workbench/BitProblems.h"

#include <bit>

namespace zp::queens {

using namespace zp::ga;

int32_t CountLeadingOneBits(const std::vector<uint64_t>& Words, int32_t Bits) {
  int32_t ones = 0;
  for (size_t w = 0; static_cast<int64_t>(w) * 64 < Bits && w < Words.size(); ++w) {
    const int32_t left = Bits - static_cast<int32_t>(w) * 64;
    const uint64_t word = Words[w];
    const int32_t run = std::countr_one(word);
    if (left <= 64) return ones + std::min(run, left);
    ones += run;
    if (run < 64) return ones;
  }
  return ones;
}

void TLeadingOnesProblem::Score(const TZPGAGenes& Genes, TZPGAPopulation& Population, int32_t First,
                                std::span<TGAFitness> Fitness) {
  const int32_t bits = Genes.Count();
  for (size_t k = 0; k < Fitness.size(); ++k)
    Fitness[k] = CountLeadingOneBits(Population.Items(First + static_cast<int32_t>(k)).Bits().Words(), bits);
}

double TJumpProblem::Fitness(int32_t N, int32_t K, int32_t Ones) {
  return Ones <= N - K || Ones == N ? K + Ones : N - Ones;
}

void TJumpProblem::Score(const TZPGAGenes& Genes, TZPGAPopulation& Population, int32_t First,
                         std::span<TGAFitness> Fitness) {
  // The ones of each chromosome as OneMax counts them, then the jump's shape.
  TOneMaxProblem::Score(Genes, Population, First, Fitness);
  for (TGAFitness& f : Fitness) f = TJumpProblem::Fitness(Size(), k_, static_cast<int32_t>(f));
}

}  // namespace zp::queens
