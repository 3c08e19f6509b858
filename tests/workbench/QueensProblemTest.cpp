// The N-Queens encoding and fitness: the worked boards, the fast fitness
// against a literal pair-by-pair count, and the genotype built for N.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "engine/ZPGeneticAlgorithm.h"
#include "platform/Exceptions.h"
#include "platform/Numbers.h"
#include "workbench/QueensProblem.h"
#include "workbench/QueensWorkbench.h"

namespace {

using zp::queens::QueensFitness;

double Fitness(const std::vector<int32_t>& rows, int N) {
  return QueensFitness(rows.data(), static_cast<int>(rows.size()), N);
}

// The counting rule written out pair by pair, in 64-bit arithmetic so that
// extreme rows cannot overflow a + d.
double PairByPair(const std::vector<int32_t>& rows, int N) {
  const int n = static_cast<int>(rows.size());
  double fitness = 0;
  if (n < 2) return 0;
  for (int i = 0; i <= n - 2; ++i) {
    const int64_t a = rows[static_cast<size_t>(i)];
    if (a >= N) fitness -= 1;
    for (int j = i + 1; j <= n - 1; ++j) {
      const int64_t d = j - i;
      const int64_t b = rows[static_cast<size_t>(j)];
      if (b >= N) fitness -= 1;
      if (b != a && b != a + d && b != a - d) fitness += 1;
    }
  }
  return fitness;
}

TEST(QueensProblemTest, WorkedBoardsScoreAsCounted) {
  EXPECT_EQ(Fitness({1, 3, 0, 2}, 4), 6);      // a solution
  EXPECT_EQ(Fitness({0, 0, 0, 0}, 4), 0);      // one row
  EXPECT_EQ(Fitness({0, 1, 2, 3}, 4), 0);      // one diagonal
  EXPECT_EQ(Fitness({0, 2, 4, 1, 3}, 5), 10);  // a solution
  // All pairs pass, the 7 in the last column is charged once from each of columns 0 to 3.
  EXPECT_EQ(Fitness({0, 2, 4, 1, 7}, 5), 6);
  // One charge in column 0; columns 0 and 4 share a diagonal (3 = 7 - 4).
  EXPECT_EQ(Fitness({7, 2, 4, 1, 3}, 5), 8);
}

TEST(QueensProblemTest, OutOfRangeRowIsChargedOncePerVisit) {
  // A single row >= N in column j of n columns costs 1, j + 1 or n - 1.
  for (int j = 0; j < 6; ++j) {
    std::vector<int32_t> rows(6, 0);
    rows[static_cast<size_t>(j)] = 9;
    const double expected_penalty = j == 0 ? 1 : (j == 5 ? 5 : j + 1);
    // Every pair of zeros attacks by row; the 9 attacks nobody.
    EXPECT_EQ(Fitness(rows, 6), 5 - expected_penalty) << "column " << j;
  }
}

TEST(QueensProblemTest, FewerThanTwoColumnsScoreZero) {
  const int32_t one[] = {7};
  EXPECT_EQ(QueensFitness(one, 1, 4), 0);
  EXPECT_EQ(QueensFitness(one, 0, 4), 0);
}

TEST(QueensProblemTest, FastFitnessEqualsThePairByPairCountOnRandomBoards) {
  std::mt19937 rng(12345);
  for (int trial = 0; trial < 20000; ++trial) {
    const int N = 4 + static_cast<int>(rng() % 29);  // 4..32
    const int bits = zp::BitLength(static_cast<uint64_t>(N - 1));
    const int32_t top = (1 << bits) - 1;  // what a gene can decode to
    // Mostly boards of N columns; sometimes a genotype of another length.
    const int n = trial % 7 == 0 ? static_cast<int>(rng() % 80) : N;
    std::vector<int32_t> rows(static_cast<size_t>(n));
    const int kind = trial % 5;
    for (int32_t& r : rows) {
      const uint32_t pick = rng();
      if (kind == 0) {
        r = static_cast<int32_t>(pick % static_cast<uint32_t>(N));  // rows that exist
      } else if (kind == 4 && pick % 4 == 0) {
        // Values no gene of this board decodes to: large, negative, extreme, table edges.
        const int32_t extremes[] = {INT32_MAX, INT32_MIN, -1, -N, 63, 64, 127, 255, 256, 300, 1 << 20, -(1 << 20)};
        r = extremes[(pick >> 2) % 12];
      } else {
        r = static_cast<int32_t>(pick % static_cast<uint32_t>(top + 1));  // up to 2^Size - 1
      }
    }
    ASSERT_EQ(Fitness(rows, N), PairByPair(rows, N)) << "trial " << trial << " N " << N << " n " << n;
  }
}

TEST(QueensProblemTest, FastFitnessEqualsThePairByPairCountOnLongGenotypes) {
  // As many columns as the counting tables hold, and more.
  std::mt19937 rng(7);
  for (int n : {62, 63, 64, 65, 100, 255, 256, 257, 300}) {
    for (int trial = 0; trial < 20; ++trial) {
      std::vector<int32_t> rows(static_cast<size_t>(n));
      const uint32_t limit = trial % 2 ? 64u : 300u;
      for (int32_t& r : rows) r = static_cast<int32_t>(rng() % limit);
      ASSERT_EQ(Fitness(rows, 32), PairByPair(rows, 32)) << "n " << n;
    }
    std::vector<int32_t> same(static_cast<size_t>(n), 63);
    EXPECT_EQ(Fitness(same, 64), PairByPair(same, 64)) << "n " << n;
    std::vector<int32_t> diagonal(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j) diagonal[static_cast<size_t>(j)] = j % 64;
    EXPECT_EQ(Fitness(diagonal, 64), PairByPair(diagonal, 64)) << "n " << n;
  }
}

TEST(QueensProblemTest, RowsAreDecodedGeneByGene) {
  zp::ga::TZPGeneticAlgorithm ga;
  zp::queens::BuildQueensGenes(ga.Genes(), 5);
  zp::ga::TZPGABits bits(nullptr);
  bits.SetSize(15);
  const int32_t values[] = {7, 2, 4, 1, 3};
  for (int i = 0; i < 5; ++i) bits.WriteInteger(3 * i, 3, values[i]);
  std::vector<int32_t> rows;
  zp::queens::DecodeRows(ga.Genes(), bits, rows);
  EXPECT_EQ(rows, (std::vector<int32_t>{7, 2, 4, 1, 3}));
  EXPECT_EQ(Fitness(rows, 5), 8);
}

TEST(QueensProblemTest, DecodedRowsEqualTheGenesOwnDecodeAcrossWordBoundaries) {
  // Genes of 1 to 32 bits laid out end to end, some straddling 64-bit words,
  // one running past the chromosome's end, one signed.
  std::mt19937 rng(99);
  for (int trial = 0; trial < 300; ++trial) {
    zp::ga::TZPGeneticAlgorithm ga;
    const int genes = 1 + static_cast<int>(rng() % 12);
    for (int i = 0; i < genes; ++i) {
      zp::ga::TZPGAGene& gene = ga.Genes().Add();
      gene.SetGeneType(zp::ga::TGeneType::gtInteger);
      gene.SetSize(1 + static_cast<int>(rng() % 32));
      if (trial % 10 == 3 && i == 0) gene.SetPreserveSignBit(true);
    }
    zp::ga::TZPGABits bits(nullptr);
    const int total = ga.Genes().TotalSize();
    const int size = trial % 7 == 0 ? std::max(0, total - 5) : total;
    bits.SetSize(size);
    for (int p = 0; p < size; ++p) bits.SetBit(p, rng() % 2 == 1);
    std::vector<int32_t> rows;
    try {
      zp::queens::DecodeRows(ga.Genes(), bits, rows);
    } catch (const std::exception&) {
      continue;  // a gene past the chromosome's end is an error either way
    }
    ASSERT_EQ(rows.size(), static_cast<size_t>(genes));
    for (int i = 0; i < genes; ++i)
      ASSERT_EQ(rows[static_cast<size_t>(i)], ga.Genes().Items(i).DecodeInteger(bits)) << "trial " << trial;
  }
}

TEST(QueensProblemTest, RowDecoderFollowsEveryChangeOfTheGenotype) {
  // The decoder keeps what it learned about the layout until the genotype
  // changes: after each change below its rows must equal the genes' own decode.
  zp::ga::TZPGeneticAlgorithm ga;
  zp::queens::BuildQueensGenes(ga.Genes(), 8);
  zp::ga::TZPGABits bits(nullptr);
  bits.SetSize(40);
  std::mt19937 rng(5);
  zp::queens::TRowDecoder decoder;
  std::vector<int32_t> rows;
  auto check = [&](const char* step) {
    for (int p = 0; p < bits.Size(); ++p) bits.SetBit(p, rng() % 2 == 1);
    decoder.Decode(ga.Genes(), bits, rows);
    ASSERT_EQ(rows.size(), static_cast<size_t>(ga.Genes().Count())) << step;
    for (int i = 0; i < ga.Genes().Count(); ++i)
      ASSERT_EQ(rows[static_cast<size_t>(i)], ga.Genes().Items(i).DecodeInteger(bits)) << step << " gene " << i;
  };
  check("as built");
  ga.Genes().Items(2).SetSize(4);  // uneven sizes: gene by gene from here
  check("one gene wider");
  ga.Genes().Items(2).SetSize(3);
  check("even again");
  ga.Genes().Items(5).SetPreserveSignBit(true);
  check("one signed gene");
  ga.Genes().Items(5).SetPreserveSignBit(false);
  ga.Genes().Delete(0);
  check("first gene gone");
  ga.Genes().Items(3).SetIndex(0);
  check("genes moved");
  zp::queens::BuildQueensGenes(ga.Genes(), 12);                          // 12 x 4 bits
  EXPECT_THROW(decoder.Decode(ga.Genes(), bits, rows), zp::EBitsError);  // past the chromosome, as gene by gene
  bits.SetSize(48);
  check("rebuilt for 12");
}

struct GenotypeRow {
  int N, gene_bits, chromosome_bits;
  double cutoff;
  int population;
  const char* mutation;
};

TEST(QueensProblemTest, GenotypeBuiltForNMatchesTheReferenceTable) {
  const GenotypeRow table[] = {
      {4, 2, 8, 6, 16, "0.125"},
      {5, 3, 15, 10, 20, "0.0666666666666667"},
      {8, 3, 24, 28, 32, "0.0416666666666667"},
      {9, 4, 36, 36, 36, "0.0277777777777778"},
      {16, 4, 64, 120, 64, "0.015625"},
      {17, 5, 85, 136, 68, "0.0117647058823529"},
      {32, 5, 160, 496, 128, "0.00625"},
  };
  for (const GenotypeRow& row : table) {
    SCOPED_TRACE("N = " + std::to_string(row.N));
    // A component whose chromosome length follows the genotype from zero.
    zp::ga::TZPGeneticAlgorithm ga;
    zp::queens::BuildQueensGenes(ga.Genes(), row.N);
    ASSERT_EQ(ga.Genes().Count(), row.N);
    for (int i = 0; i < row.N; ++i) {
      const zp::ga::TZPGAGene& gene = ga.Genes().Items(i);
      EXPECT_EQ(gene.Name(), "Col " + std::to_string(i));
      EXPECT_EQ(gene.GeneType(), zp::ga::TGeneType::gtInteger);
      EXPECT_FALSE(gene.PreserveSignBit());
      EXPECT_EQ(gene.Size(), row.gene_bits);
      EXPECT_EQ(gene.Offset(), i * row.gene_bits);
      EXPECT_EQ(gene.MinValue(), 0);
      EXPECT_EQ(gene.MaxValue(), row.N - 1);
    }
    EXPECT_EQ(ga.Genes().TotalSize(), row.chromosome_bits);
    EXPECT_EQ(ga.GeneSize(), row.chromosome_bits);
    EXPECT_EQ(zp::queens::QueensCutoff(row.N), row.cutoff);
    EXPECT_EQ(zp::FormatFloat15(1.0 / ga.GeneSize()), row.mutation);

    // The workbench at that queen count (the stored 24 bits only grow).
    if (row.chromosome_bits >= 24) {
      zp::queens::TQueensWorkbench wb;
      wb.FormCreate();
      wb.SpinEdit1Change(row.N);
      EXPECT_EQ(wb.Algorithm().Population().Count(), row.population);
      EXPECT_EQ(wb.Algorithm().FitnessCutoff(), row.cutoff);
      const auto& log = wb.Log();
      ASSERT_GE(log.size(), 2u);
      EXPECT_EQ(log[log.size() - 2], std::string("     Mutation probability is ") + row.mutation);
    }
  }
}

}  // namespace
