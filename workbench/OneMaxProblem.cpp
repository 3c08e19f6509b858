#include "workbench/OneMaxProblem.h"

#include "engine/BitCount.h"

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
  const int32_t bits = Genes.Count();
  for (size_t k = 0; k < Fitness.size(); ++k)
    Fitness[k] = CountOnes(Population.Items(First + static_cast<int32_t>(k)).Bits(), bits);
}

}  // namespace zp::queens
