// The six file commands. They write nothing to the log. A loaded algorithm or
// population counts as the first initialization, so that Run continues from it;
// a document whose generation would take a Run too long is refused;
// a loaded N-Queens genotype sets the queen count to its own and starts the
// curves over, and the board is emptied for it.
#include "persistence/GADocuments.h"
#include "persistence/XMLErrors.h"
#include "platform/Numbers.h"
#include "workbench/QueensWorkbench.h"

namespace zp::queens {

namespace {

// N when Genes are N integer genes of BitLength(N - 1) bits, N a queen count the board takes; 0 otherwise.
int QueensShape(const ga::TZPGAGenes& Genes) {
  const int n = Genes.Count();
  if (n < kMinQueens || n > kMaxQueens) return 0;
  for (int i = 0; i < n; ++i) {
    const ga::TZPGAGene& gene = Genes.Items(i);
    if (gene.GeneType() != ga::TGeneType::gtInteger || gene.Size() != BitLength(static_cast<uint64_t>(n - 1))) return 0;
  }
  return n;
}

// The command that reads a document with root element Root; empty if none does.
std::string CommandFor(const std::string& Root) {
  if (Root == "GenoType") return "this file holds a genotype: use Load GenoType";
  if (Root == "Chromosomes") return "this file holds a population: use Load Population";
  if (Root == "GeneticAlgorithm") return "this file holds a whole algorithm: use Load";
  return {};
}

// Runs Read; a document of another kind fails with a hint at the command that reads it.
template <class Read>
void ReadDocument(Read&& Read_) {
  try {
    Read_();
  } catch (const xml::EIntfCastError& e) {
    const std::string hint = CommandFor(e.FoundRoot());
    if (hint.empty()) throw;
    throw Exception(std::string(e.what()) + " (" + hint + ")");
  }
}

// Refuses a component whose generations would take a Run seconds each: the
// comparison run makes the tournaments over the loaded population whatever
// method the document names, and the N-Queens fitness of a board wider than
// 64 columns visits every pair of genes.
void CheckGenerationWork(const xml::TLoadedShape& Shape) {
  const std::string excess = GenerationWorkExcess(Shape.Individuals, Shape.Genes, Shape.TournamentField);
  if (!excess.empty()) throw xml::EGADocumentError(excess + " a loaded document may ask for");
}

}  // namespace

std::string GenerationWorkExcess(int64_t Individuals, int64_t Genes, int64_t Field) {
  const int64_t draws = Individuals * Field;
  if (draws > kMaxGenerationDraws)
    return "one generation of " + std::to_string(Individuals) + " chromosomes with a TournamentField of " +
           std::to_string(Field) + " would make " + std::to_string(draws) + " selection draws, more than the " +
           std::to_string(kMaxGenerationDraws);
  const int64_t steps = Individuals * (Genes * (Genes - 1) / 2);
  if (steps > kMaxGenerationPairSteps)
    return "one generation of " + std::to_string(Individuals) + " chromosomes of " + std::to_string(Genes) +
           " genes would take " + std::to_string(steps) +
           " steps of the N-Queens fitness (one per pair of genes), more than the " +
           std::to_string(kMaxGenerationPairSteps);
  return {};
}

void TQueensWorkbench::AdoptLoadedGenotype() {
  ClearBoard();
  const int n = QueensShape(ga_->Genes());
  if (n == 0) {
    if (OnNote) OnNote("the loaded problem is not an N-Queens board");
    return;
  }
  // As the queen count control would, but the loaded cutoff and mutation probability stay.
  problem_.SetSize(n);
  ga_->SetInitialPopulation(4 * n);
  board_.SetSize(n, n);
  board_.FitCells(n);
  ResetCurves();
}

void TQueensWorkbench::SaveAll(const std::string& FileName) { xml::SaveAlgorithmFile(*ga_, FileName); }
void TQueensWorkbench::LoadAll(const std::string& FileName) {
  ReadDocument([&] { xml::LoadAlgorithmFile(*ga_, FileName, CheckGenerationWork); });
  ga_->SetInitialized(true);
  core_->ForgetStartSeed();
  AdoptLoadedGenotype();
}
void TQueensWorkbench::SaveGenoType(const std::string& FileName) { xml::SaveGenoTypeFile(ga_->Genes(), FileName); }
void TQueensWorkbench::LoadGenoType(const std::string& FileName) {
  ReadDocument([&] { xml::LoadGenoTypeFile(ga_->Genes(), FileName, CheckGenerationWork); });
  AdoptLoadedGenotype();
}
void TQueensWorkbench::SavePopulation(const std::string& FileName) {
  xml::SavePopulationFile(ga_->Population(), FileName);
}
void TQueensWorkbench::LoadPopulation(const std::string& FileName) {
  ReadDocument([&] { xml::LoadPopulationFile(ga_->Population(), FileName, CheckGenerationWork); });
  ga_->SetInitialized(true);
  core_->ForgetStartSeed();
  NotifyHeading(streams_);
}

}  // namespace zp::queens
