// OneMax of size n: n one-bit genes "Bit 0".."Bit n-1", fitness the number of
// 1 bits, solved at n. The easiest smooth problem: selection pressure alone
// decides how fast a method climbs.
#pragma once

#include "workbench/Problem.h"

namespace zp::queens {

class TOneMaxProblem : public IProblem {
 public:
  explicit TOneMaxProblem(int32_t N) : n_(N) {}

  std::string Name() const override { return "OneMax"; }
  int32_t Size() const override { return n_; }
  void BuildGenotype(ga::TZPGAGenes& Genes) const override;
  // Counts the 1 bits of each gene; the genes are one bit each, from bit 0 in order.
  void Score(const ga::TZPGAGenes& Genes, ga::TZPGAPopulation& Population, int32_t First,
             std::span<ga::TGAFitness> Fitness) override;
  double Target() const override { return n_; }

 private:
  int32_t n_;
};

}  // namespace zp::queens
