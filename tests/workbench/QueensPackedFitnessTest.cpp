// The N-Queens fitness read from packed words, in each of its forms, against
// the fitness of the rows decoded one gene at a time; and the problem's
// scoring, which takes it only for a genotype built for N.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "engine/ZPGeneticAlgorithm.h"
#include "platform/Numbers.h"
#include "workbench/QueensPackedFitness.h"
#include "workbench/QueensProblem.h"

namespace {

using namespace zp::ga;
using namespace zp::queens;

// Random chromosomes for N queens, rows in the full range of the gene (so >= N
// where N is no power of two), and boards of one row or one diagonal, where
// the counts are highest.
std::vector<std::vector<int32_t>> Boards(int N, std::mt19937& gen) {
  const int bits = zp::BitLength(static_cast<uint64_t>(N - 1));
  std::uniform_int_distribution<int32_t> any(0, (1 << bits) - 1);
  std::vector<std::vector<int32_t>> boards;
  for (int k = 0; k < 300; ++k) {
    std::vector<int32_t> rows(static_cast<size_t>(N));
    for (int32_t& r : rows) r = any(gen);
    if (k % 7 == 1)  // few distinct rows: many attacks
      for (int32_t& r : rows) r &= 1;
    boards.push_back(rows);
  }
  boards.emplace_back(static_cast<size_t>(N), 0);
  boards.emplace_back(static_cast<size_t>(N), (1 << bits) - 1);
  std::vector<int32_t> diagonal(static_cast<size_t>(N));
  for (int i = 0; i < N; ++i) diagonal[static_cast<size_t>(i)] = i;
  boards.push_back(diagonal);
  return boards;
}

// The rows packed as the genotype built for N lays them out, followed by
// random words (what a wider chromosome would hold), which the fitness must not read into.
std::vector<uint64_t> Pack(const std::vector<int32_t>& rows, int bits, uint64_t tail) {
  std::vector<uint64_t> words((rows.size() * static_cast<size_t>(bits) + 63) / 64 + 1, 0);
  for (size_t i = 0; i < rows.size(); ++i)
    for (int k = 0; k < bits; ++k)
      if ((rows[i] >> k) & 1) {
        const size_t at = i * static_cast<size_t>(bits) + static_cast<size_t>(k);
        words[at / 64] |= uint64_t{1} << (at % 64);
      }
  const size_t used = rows.size() * static_cast<size_t>(bits);
  if (used % 64) words[used / 64] |= tail << (used % 64);
  words.back() = tail;
  return words;
}

void ExpectPathEqualsTheDecodedFitness(TPackedQueensPath path) {
  const TPackedQueensFitness packed = PackedQueensFitness(path);
  ASSERT_NE(packed, nullptr);
  std::mt19937 gen(33);
  for (int N = 2; N <= kMaxPackedQueens; ++N) {
    const int bits = zp::BitLength(static_cast<uint64_t>(N - 1));
    for (const std::vector<int32_t>& rows : Boards(N, gen)) {
      const double expected = QueensFitness(rows.data(), N, N);
      for (uint64_t tail : {uint64_t{0}, ~uint64_t{0}}) {
        const std::vector<uint64_t> words = Pack(rows, bits, tail);
        ASSERT_EQ(packed(words.data(), N, bits), expected) << "N=" << N << " tail=" << tail;
      }
    }
  }
}

TEST(QueensPackedFitness, PortableFormEqualsTheDecodedFitness) {
  ExpectPathEqualsTheDecodedFitness(TPackedQueensPath::qpPortable);
}

TEST(QueensPackedFitness, Avx2FormEqualsTheDecodedFitness) {
  if (!PackedQueensFitness(TPackedQueensPath::qpAvx2)) GTEST_SKIP() << "this processor has no AVX2";
  ExpectPathEqualsTheDecodedFitness(TPackedQueensPath::qpAvx2);
}

TEST(QueensPackedFitness, Avx512FormEqualsTheDecodedFitness) {
  if (!PackedQueensFitness(TPackedQueensPath::qpAvx512)) GTEST_SKIP() << "this processor has no AVX-512";
  ExpectPathEqualsTheDecodedFitness(TPackedQueensPath::qpAvx512);
}

// A component's population scored by the problem, and the same chromosomes
// scored gene by gene through the genes' own decode.
void ExpectScoresEqualTheGenesDecode(TZPGeneticAlgorithm& ga, TQueensProblem& problem, int N) {
  TZPGAPopulation& population = ga.Population();
  std::vector<TGAFitness> scores(static_cast<size_t>(population.Count()));
  problem.Score(ga.Genes(), population, 0, scores);
  std::vector<int32_t> rows;
  for (int i = 0; i < population.Count(); ++i) {
    DecodeRows(ga.Genes(), population.Items(i).Bits(), rows);
    ASSERT_EQ(scores[static_cast<size_t>(i)], QueensFitness(rows.data(), static_cast<int>(rows.size()), N)) << i;
  }
}

TEST(QueensPackedFitness, ProblemScoresOtherGenotypesGeneByGene) {
  for (int N : {5, 8, 13, 32}) {
    zp::TRandom random(7);
    TZPGeneticAlgorithm ga;
    ga.SetRandomSource(random);
    ga.SetInitialPopulation(40);
    TQueensProblem problem(N);
    ga.OnInitialization = [&](TZPCustomGeneticAlgorithm& g, bool&) { BuildQueensGenes(g.Genes(), N); };
    ga.Initialize();
    SCOPED_TRACE(N);
    ExpectScoresEqualTheGenesDecode(ga, problem, N);  // built for N: the packed form
    // The same genotype with a signed gene, a wider chromosome (GeneSize above
    // the genotype's bits, as after N was lowered), a genotype of another N, and one gene fewer.
    ga.Genes().Items(1).SetPreserveSignBit(true);
    ExpectScoresEqualTheGenesDecode(ga, problem, N);
    ga.Genes().Items(1).SetPreserveSignBit(false);
    ga.SetGeneSize(ga.GeneSize() + 3);
    ExpectScoresEqualTheGenesDecode(ga, problem, N);
    problem.SetSize(N - 1);
    ExpectScoresEqualTheGenesDecode(ga, problem, N - 1);
    problem.SetSize(N);
    ga.Genes().Delete(N - 1);
    ExpectScoresEqualTheGenesDecode(ga, problem, N);
  }
}

}  // namespace
