// The N-Queens puzzle as a problem for the genetic algorithm: one integer
// gene per column holding the queen's row, and a fitness that counts the
// non-attacking queen pairs minus penalties for rows that do not exist.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/IntegerDecoder.h"
#include "engine/ZPGeneticAlgorithm.h"
#include "workbench/Problem.h"
#include "workbench/QueensPackedFitness.h"

namespace zp::queens {

inline constexpr int kMinQueens = 4;
inline constexpr int kMaxQueens = 32;

// Clears the genotype and builds N genes "Col 0".."Col N-1" of BitLength(N-1) bits, range 0..N-1.
void BuildQueensGenes(ga::TZPGAGenes& Genes, int N);

// N(N-1)/2, the number of queen pairs.
double QueensCutoff(int N);

// The fitness of one board given as the decoded row of each column: every
// pair (i < j, d = j - i) whose rows b, a satisfy b != a, b != a + d and
// b != a - d earns 1; a row >= N costs 1 on each visit of the pair loops
// (1 in column 0, j + 1 in column j, n - 1 in the last). O(n) with row and
// diagonal counts when the rows are small, else pair by pair.
double QueensFitness(const int32_t* Rows, int n, int N);

// For each column of the board given as rows, whether another queen shares its
// row or a diagonal (the pairs the fitness does not count). Empty for n = 0.
std::vector<bool> AttackedQueens(const int32_t* Rows, int n);

// Decodes every gene of Bits into Rows (resized to the gene count).
void DecodeRows(const ga::TZPGAGenes& Genes, ga::TZPGABits& Bits, std::vector<int32_t>& Rows);

// DecodeRows with a memory: the engine's integer decoder, which keeps the
// genotype's layout until it changes and cuts every row from the chromosome's
// words in one pass. The values are the same.
class TRowDecoder {
 public:
  void Decode(const ga::TZPGAGenes& Genes, ga::TZPGABits& Bits, std::vector<int32_t>& Rows) {
    decoder_.Decode(Genes, Bits, Rows);
  }

 private:
  ga::TIntegerDecoder decoder_;
};

// The workbench's N-Queens for N queens: one gene per column, fitness the
// non-attacking pairs, solved at N(N-1)/2, the board as its picture. The
// chromosome keeps the component's GeneSize, which never shrinks.
class TQueensProblem : public IProblem {
 public:
  explicit TQueensProblem(int32_t N = 8) : n_(N) {}
  void SetSize(int32_t N) { n_ = N; }

  std::string Name() const override { return "N-Queens"; }
  int32_t Size() const override { return n_; }
  std::string Caption() const override { return std::to_string(n_) + " queens"; }
  std::string DescriptionLine() const override { return "     Number of queens is " + std::to_string(n_); }
  void BuildGenotype(ga::TZPGAGenes& Genes) const override { BuildQueensGenes(Genes, n_); }
  bool KeepsGeneSize() const override { return true; }
  // The loops run over the genotype's genes, the penalties use N: a loaded genotype may differ from N.
  // A genotype built for N, over chromosomes of exactly its bits, is read straight from the words.
  void Score(const ga::TZPGAGenes& Genes, ga::TZPGAPopulation& Population, int32_t First,
             std::span<ga::TGAFitness> Fitness) override;
  double Target() const override { return QueensCutoff(n_); }
  bool DescribesSolutions() const override { return true; }
  // "Q" at each column's decoded row, every other cell of the column cleared; a
  // queen that another attacks is marked (none is, on a solution).
  bool DescribeSolution(const ga::TZPGAGenes& Genes, ga::TZPGABits& Bits, TChessBoard& Board) const override;

 private:
  // True when Genes is the genotype BuildQueensGenes makes for N (remembered by its revision).
  bool BuiltForN(const ga::TZPGAGenes& Genes);

  int32_t n_;
  std::vector<int32_t> rows_;  // scratch
  TRowDecoder decoder_;
  const ga::TZPGAGenes* layout_genes_ = nullptr;  // not owned: only compared
  uint64_t layout_revision_ = 0;
  int32_t layout_n_ = 0;
  int layout_bits_ = 0;  // bits per gene of the genotype built for N; 0 when Genes is not that genotype
};

}  // namespace zp::queens
