// IProblem: what the run core needs of a problem. It names itself, builds its
// genotype for its size, scores a whole population in one call, knows the
// fitness of a solution (the run's cutoff) and whether a run reached it, and
// may describe a solution for display. A problem keeps scratch space for its
// scoring: one instance per thread.
//
//   TQueensProblem queens(8);
//   RunComparison(queens, settings, request, observer);
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "engine/ZPGeneticAlgorithm.h"

namespace zp::queens {

class TChessBoard;

class IProblem {
 public:
  virtual ~IProblem() = default;

  // "N-Queens", "OneMax".
  virtual std::string Name() const = 0;
  virtual int32_t Size() const = 0;
  // What a figure's header calls the problem at its size: "OneMax, size 64".
  virtual std::string Caption() const { return Name() + ", size " + std::to_string(Size()); }
  // The initialization's line that names the problem, in place of the queen count line.
  virtual std::string DescriptionLine() const {
    return "     Problem is " + Name() + ", size " + std::to_string(Size());
  }

  // Clears Genes and builds the genotype for the size, each gene's settings in the order their rules need.
  virtual void BuildGenotype(ga::TZPGAGenes& Genes) const = 0;
  // True when the chromosome keeps the component's GeneSize, which never shrinks (N-Queens, as the
  // original); false when it holds exactly the genotype's bits (GeneSize := 0 before each initialization).
  virtual bool KeepsGeneSize() const { return false; }

  // Fitness[k] := the fitness of Population.Items(First + k) under the genotype Genes, for every k.
  virtual void Score(const ga::TZPGAGenes& Genes, ga::TZPGAPopulation& Population, int32_t First,
                     std::span<ga::TGAFitness> Fitness) = 0;

  // The fitness of a solution: the run's FitnessCutoff, maximised.
  virtual double Target() const = 0;
  // True when a run whose best fitness is MaxFitness solved the problem.
  virtual bool Solved(double MaxFitness) const { return MaxFitness == Target(); }

  // True when DescribeSolution draws a board.
  virtual bool DescribesSolutions() const { return false; }
  // Draws the solution Bits into Board (sized for the genotype); false when the problem has no picture.
  virtual bool DescribeSolution(const ga::TZPGAGenes& /*Genes*/, ga::TZPGABits& /*Bits*/,
                                TChessBoard& /*Board*/) const {
    return false;
  }
};

}  // namespace zp::queens
