#include "workbench/QueensProblem.h"

#include <algorithm>
#include <array>
#include <string>
#include <unordered_map>

#include "platform/Numbers.h"
#include "workbench/ChessBoard.h"

namespace zp::queens {

using namespace zp::ga;

void BuildQueensGenes(TZPGAGenes& Genes, int N) {
  Genes.Clear();
  for (int i = 0; i < N; ++i) {
    TZPGAGene& gene = Genes.Add();
    gene.SetGeneType(TGeneType::gtInteger);
    gene.SetName("Col " + std::to_string(i));
    gene.SetPreserveSignBit(false);
    gene.SetSize(BitLength(static_cast<uint64_t>(N - 1)));
    gene.SetMaxValue(N - 1);
  }
}

double QueensCutoff(int N) {
  double sum = 0;
  for (int i = 1; i <= N - 1; ++i) sum += i;
  return sum;
}

namespace {

double PairByPair(const int32_t* rows, int n, int N) {
  double fitness = 0;
  for (int i = 0; i + 1 < n; ++i) {
    const int64_t a = rows[i];
    if (a >= N) fitness -= 1;
    for (int j = i + 1; j < n; ++j) {
      const int64_t b = rows[j], d = j - i;
      if (b >= N) fitness -= 1;
      if (b != a && b != a + d && b != a - d) fitness += 1;
    }
  }
  return fitness;
}

}  // namespace

double QueensFitness(const int32_t* Rows, int n, int N) {
  if (n < 2) return 0;
  // The three attack tests are mutually exclusive for d >= 1, so the passing
  // pairs are all pairs minus those sharing a row, a falling or a rising diagonal.
  constexpr int kMaxRow = 64;
  constexpr int kMaxCols = 64;
  if (n > kMaxCols) return PairByPair(Rows, n, N);
  struct Counts {
    uint8_t row[kMaxRow];
    uint8_t rising[kMaxRow + kMaxCols];       // row + column
    uint8_t falling[kMaxRow + kMaxCols + 1];  // row - column + n
  } counts{};
  int attacking = 0;
  int penalty = 0;
  for (int j = 0; j < n; ++j) {
    const int r = Rows[j];
    if (static_cast<unsigned>(r) >= static_cast<unsigned>(kMaxRow)) return PairByPair(Rows, n, N);
    attacking += counts.row[r]++;
    attacking += counts.rising[r + j]++;
    attacking += counts.falling[r - j + n]++;
    penalty += r >= N ? j + (j < n - 1 ? 1 : 0) : 0;
  }
  const int pairs = n * (n - 1) / 2;
  return static_cast<double>(pairs - attacking - penalty);
}

std::vector<bool> AttackedQueens(const int32_t* Rows, int n) {
  // A line (row or diagonal) holding two queens or more attacks every queen on it.
  std::unordered_map<int64_t, int> row, rising, falling;
  for (int j = 0; j < n; ++j) {
    ++row[Rows[j]];
    ++rising[int64_t{Rows[j]} + j];
    ++falling[int64_t{Rows[j]} - j];
  }
  std::vector<bool> attacked(static_cast<size_t>(std::max(n, 0)));
  for (int j = 0; j < n; ++j)
    attacked[static_cast<size_t>(j)] =
        row[Rows[j]] > 1 || rising[int64_t{Rows[j]} + j] > 1 || falling[int64_t{Rows[j]} - j] > 1;
  return attacked;
}

void DecodeRows(const TZPGAGenes& Genes, TZPGABits& Bits, std::vector<int32_t>& Rows) {
  Rows.resize(static_cast<size_t>(Genes.Count()));
  for (int i = 0; i < Genes.Count(); ++i) Rows[static_cast<size_t>(i)] = Genes.Items(i).DecodeInteger(Bits);
}

bool TQueensProblem::BuiltForN(const TZPGAGenes& Genes) {
  if (layout_genes_ != &Genes || layout_revision_ != Genes.Revision() || layout_n_ != n_) {
    layout_genes_ = &Genes;
    layout_revision_ = Genes.Revision();
    layout_n_ = n_;
    const int bits = BitLength(static_cast<uint64_t>(n_ > 0 ? n_ - 1 : 0));
    bool built = n_ >= 2 && n_ <= kMaxPackedQueens && Genes.Count() == n_;
    for (int i = 0; built && i < n_; ++i) {
      const TZPGAGene& gene = Genes.Items(i);
      built = gene.Offset() == i * bits && gene.Size() == bits && !gene.PreserveSignBit();
    }
    layout_bits_ = built ? bits : 0;
  }
  return layout_bits_ != 0;
}

void TQueensProblem::Score(const TZPGAGenes& Genes, TZPGAPopulation& Population, int32_t First,
                           std::span<TGAFitness> Fitness) {
  const TPackedQueensFitness packed = BuiltForN(Genes) ? BestPackedQueensFitness() : nullptr;
  const int bits = layout_bits_;
  for (size_t k = 0; k < Fitness.size(); ++k) {
    TZPGABits& chromosome = Population.Items(First + static_cast<int32_t>(k)).Bits();
    if (packed && chromosome.Size() == n_ * bits) {
      chromosome.SetPreserveSignBit(false);  // as the genes' own decode leaves it
      Fitness[k] = packed(chromosome.Words().data(), n_, bits);
      continue;
    }
    decoder_.Decode(Genes, chromosome, rows_);
    Fitness[k] = QueensFitness(rows_.data(), static_cast<int>(rows_.size()), n_);
  }
}

bool TQueensProblem::DescribeSolution(const TZPGAGenes& Genes, TZPGABits& Bits, TChessBoard& Board) const {
  std::vector<int32_t> rows;
  DecodeRows(Genes, Bits, rows);
  const std::vector<bool> attacked = AttackedQueens(rows.data(), static_cast<int>(rows.size()));
  for (int i = 0; i < Genes.Count(); ++i) {
    const auto col = static_cast<size_t>(i);
    Board.ClearColumn(i);
    Board.SetCell(i, rows[col], "Q");
    Board.SetAttacked(i, rows[col], attacked[col]);
  }
  return true;
}

}  // namespace zp::queens
