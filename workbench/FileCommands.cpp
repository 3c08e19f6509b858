// The six file commands. They write nothing to the log. A loaded algorithm or
// population counts as the first initialization, so that Run continues from it;
// a loaded N-Queens genotype sets the queen count to its own and starts the
// curves over, and the board is emptied for it.
#include <cstring>
#include <fstream>
#include <sstream>

#include "persistence/GADocuments.h"
#include "persistence/XMLDocument.h"
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

// The command that reads what FileName holds, for a document of the wrong kind; empty if unknown.
std::string CommandFor(const std::string& FileName) {
  try {
    std::ifstream in(FileName, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    const xml::TXMLDocument doc = xml::TXMLDocument::Parse(text.str());
    const char* root = doc.DocumentElement().name();
    if (std::strcmp(root, "GenoType") == 0) return "this file holds a genotype: use Load GenoType";
    if (std::strcmp(root, "Chromosomes") == 0) return "this file holds a population: use Load Population";
    if (std::strcmp(root, "GeneticAlgorithm") == 0) return "this file holds a whole algorithm: use Load";
  } catch (const std::exception&) {
    // The load's own message stands.
  }
  return {};
}

// Runs Read; a document of another kind fails with a hint at the command that reads it.
template <class Read>
void ReadDocument(const std::string& FileName, Read&& Read_) {
  try {
    Read_();
  } catch (const xml::EIntfCastError& e) {
    const std::string hint = CommandFor(FileName);
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
  ReadDocument(FileName, [&] { xml::LoadAlgorithmFile(*ga_, FileName); });
  ga_->SetInitialized(true);
  AdoptLoadedGenotype();
}
void TQueensWorkbench::SaveGenoType(const std::string& FileName) { xml::SaveGenoTypeFile(ga_->Genes(), FileName); }
void TQueensWorkbench::LoadGenoType(const std::string& FileName) {
  ReadDocument(FileName, [&] { xml::LoadGenoTypeFile(ga_->Genes(), FileName); });
  AdoptLoadedGenotype();
}
void TQueensWorkbench::SavePopulation(const std::string& FileName) {
  xml::SavePopulationFile(ga_->Population(), FileName);
}
void TQueensWorkbench::LoadPopulation(const std::string& FileName) {
  ReadDocument(FileName, [&] { xml::LoadPopulationFile(ga_->Population(), FileName); });
  ga_->SetInitialized(true);
}

}  // namespace zp::queens
