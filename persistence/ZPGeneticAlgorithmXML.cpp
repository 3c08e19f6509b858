#include "persistence/ZPGeneticAlgorithmXML.h"

namespace zp::xml {

TXMLGeneticAlgorithm NewGeneticAlgorithmDocument() {
  return BindGeneticAlgorithmDocument(TXMLDocument::Create("GeneticAlgorithm"));
}

TXMLGeneticAlgorithm LoadGeneticAlgorithmDocument(const std::string& FileName) {
  return BindGeneticAlgorithmDocument(TXMLDocument::LoadFromFile(FileName));
}

TXMLGeneticAlgorithm BindGeneticAlgorithmDocument(const TXMLDocument& Document) {
  return TXMLGeneticAlgorithm(Document.Shared(), Document.Root("GeneticAlgorithm"));
}

}  // namespace zp::xml
