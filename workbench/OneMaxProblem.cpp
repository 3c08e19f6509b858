#include "workbench/OneMaxProblem.h"

#include <bit>

namespace zp::queens {

using namespace zp::ga;

void TOneMaxProblem::BuildGenotype(TZPGAGenes& Genes) const {
  Genes.Clear();
  for (int32_t i = 0; i < n_; ++i) {
    TZPGAGene& gene = Genes.Add();
    gene.SetGeneType(TGeneType::gtBoolean);
    gene.SetName("Bit " + std::to_string(i));
    gene.SetSize(1);
  }
}

void TOneMaxProblem::Score(const TZPGAGenes& Genes, TZPGAPopulation& Population, int32_t First,
                           std::span<TGAFitness> Fitness) {
  // Gene i is bit i: the fitness is the population count of the chromosome's first Count() bits.
  const int bits = Genes.Count();
  for (size_t k = 0; k < Fitness.size(); ++k) {
    const std::vector<uint64_t>& words = Population.Items(First + static_cast<int32_t>(k)).Bits().Words();
    int ones = 0;
    for (int w = 0; w * 64 < bits && static_cast<size_t>(w) < words.size(); ++w) {
      const int left = bits - w * 64;
      const uint64_t mask = left >= 64 ? ~uint64_t{0} : (uint64_t{1} << left) - 1;
      ones += std::popcount(words[static_cast<size_t>(w)] & mask);
    }
    Fitness[k] = ones;
  }
}

}  // namespace zp::queens
