// The six file commands. They change neither the log, the board nor the graph.
#include "persistence/GADocuments.h"
#include "workbench/QueensWorkbench.h"

namespace zp::queens {

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

}  // namespace zp::queens
