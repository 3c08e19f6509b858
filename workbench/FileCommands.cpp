// The six file commands. They write nothing to the log. A loaded algorithm or
// population counts as the first initialization, so that Run continues from it;
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

}  // namespace

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
  ReadDocument([&] { xml::LoadAlgorithmFile(*ga_, FileName); });
  ga_->SetInitialized(true);
  AdoptLoadedGenotype();
}
void TQueensWorkbench::SaveGenoType(const std::string& FileName) { xml::SaveGenoTypeFile(ga_->Genes(), FileName); }
void TQueensWorkbench::LoadGenoType(const std::string& FileName) {
  ReadDocument([&] { xml::LoadGenoTypeFile(ga_->Genes(), FileName); });
  AdoptLoadedGenotype();
}
void TQueensWorkbench::SavePopulation(const std::string& FileName) {
  xml::SavePopulationFile(ga_->Population(), FileName);
}
void TQueensWorkbench::LoadPopulation(const std::string& FileName) {
  ReadDocument([&] { xml::LoadPopulationFile(ga_->Population(), FileName); });
  ga_->SetInitialized(true);
}

}  // namespace zp::queens
