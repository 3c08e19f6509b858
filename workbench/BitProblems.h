// The pseudo-Boolean problems beside OneMax, on the same genotype (n one-bit
// genes "Bit 0".."Bit n-1", gene i at chromosome bit i) and derived settings:
// LeadingOnes, sequential (only the first 0 bit matters), and Jump, deceptive
// (a gap of K below the optimum that climbing by ones leads away from).
#pragma once

#include <cstdint>
#include <vector>

#include "workbench/OneMaxProblem.h"

namespace zp::queens {

// The run of 1 bits from bit 0 among the first Bits bits of Words; never reads a word past them.
int32_t CountLeadingOneBits(const std::vector<uint64_t>& Words, int32_t Bits);

// LeadingOnes of size n: the number of leading genes, from gene 0, whose bit is 1; solved at n.
class TLeadingOnesProblem : public TOneMaxProblem {
 public:
  explicit TLeadingOnesProblem(int32_t N) : TOneMaxProblem(N) {}
  std::string Name() const override { return "LeadingOnes"; }
  void Score(const ga::TZPGAGenes& Genes, ga::TZPGAPopulation& Population, int32_t First,
             std::span<ga::TGAFitness> Fitness) override;
};

// Jump with gap K of size n: with m the 1 bits, K + m when m <= n - K or m = n,
// else n - m; solved at n + K.
class TJumpProblem : public TOneMaxProblem {
 public:
  TJumpProblem(int32_t N, int32_t K) : TOneMaxProblem(N), k_(K) {}
  std::string Name() const override { return "Jump_" + std::to_string(k_); }
  int32_t Gap() const { return k_; }
  void Score(const ga::TZPGAGenes& Genes, ga::TZPGAPopulation& Population, int32_t First,
             std::span<ga::TGAFitness> Fitness) override;
  double Target() const override { return Size() + k_; }
  // Jump's fitness of a chromosome of N bits with Ones 1 bits.
  static double Fitness(int32_t N, int32_t K, int32_t Ones);

 private:
  int32_t k_;
};

}  // namespace zp::queens
