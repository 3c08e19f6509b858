// The six file commands. They change neither the log, the board nor the graph.
#include "workbench/QueensWorkbench.h"

#ifdef ZP_HAVE_PERSISTENCE
#include "persistence/GADocuments.h"
#endif

namespace zp::queens {

#ifdef ZP_HAVE_PERSISTENCE
void TQueensWorkbench::SaveAll(const std::string& FileName) { xml::SaveAlgorithmFile(*ga_, FileName); }
void TQueensWorkbench::LoadAll(const std::string& FileName) { xml::LoadAlgorithmFile(*ga_, FileName); }
void TQueensWorkbench::SaveGenoType(const std::string& FileName) { xml::SaveGenoTypeFile(ga_->Genes(), FileName); }
void TQueensWorkbench::LoadGenoType(const std::string& FileName) { xml::LoadGenoTypeFile(ga_->Genes(), FileName); }
void TQueensWorkbench::SavePopulation(const std::string& FileName) {
  xml::SavePopulationFile(ga_->Population(), FileName);
}
void TQueensWorkbench::LoadPopulation(const std::string& FileName) {
  xml::LoadPopulationFile(ga_->Population(), FileName);
}
#else
namespace {
[[noreturn]] void NoDocuments() { throw Exception("GA documents are not available in this build"); }
}  // namespace
void TQueensWorkbench::SaveAll(const std::string&) { NoDocuments(); }
void TQueensWorkbench::LoadAll(const std::string&) { NoDocuments(); }
void TQueensWorkbench::SaveGenoType(const std::string&) { NoDocuments(); }
void TQueensWorkbench::LoadGenoType(const std::string&) { NoDocuments(); }
void TQueensWorkbench::SavePopulation(const std::string&) { NoDocuments(); }
void TQueensWorkbench::LoadPopulation(const std::string&) { NoDocuments(); }
#endif

}  // namespace zp::queens
