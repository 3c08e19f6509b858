#include "persistence/ZPGADomainXML.h"

#include <cstring>

#include "persistence/XMLErrors.h"

namespace zp::xml {

TXMLGeneKind TXMLGeneType::KindOf(pugi::xml_node Node) {
  if (Node.type() == pugi::node_element) {
    const char* name = Node.name();
    if (std::strcmp(name, "BooleanGene") == 0) return TXMLGeneKind::Boolean;
    if (std::strcmp(name, "IntegerGene") == 0) return TXMLGeneKind::Integer;
    if (std::strcmp(name, "FloatGene") == 0) return TXMLGeneKind::Float;
    if (std::strcmp(name, "EnumerationGene") == 0) return TXMLGeneKind::Enumeration;
  }
  throw EIntfCastError();
}

TXMLNumericGeneType TXMLGeneType::AsNumeric() const {
  if (!IsNumeric()) throw EIntfCastError();
  return TXMLNumericGeneType(doc_, node_);
}

TXMLEnumerationGeneType TXMLGeneType::AsEnumeration() const {
  if (Kind() != TXMLGeneKind::Enumeration) throw EIntfCastError();
  return TXMLEnumerationGeneType(doc_, node_);
}

void TXMLGenoType::SetSize(int32_t Value) const {
  pugi::xml_node node = node_;
  pugi::xml_attribute a = node.attribute("Size");
  if (!a) a = node.append_attribute("Size");
  a.set_value(IntegerText(Value).c_str());
}

std::vector<TXMLGeneType> TXMLGenoType::Genes() const {
  std::vector<TXMLGeneType> genes;
  for (pugi::xml_node n = node_.first_child(); n; n = n.next_sibling()) {
    TXMLGeneType::KindOf(n);
    genes.emplace_back(doc_, n);
  }
  return genes;
}

TXMLGenoType NewGenoTypeDocument() { return BindGenoTypeDocument(TXMLDocument::Create("GenoType")); }
TXMLGenoType LoadGenoTypeDocument(const std::string& FileName) {
  return BindGenoTypeDocument(TXMLDocument::LoadFromFile(FileName));
}
TXMLGenoType BindGenoTypeDocument(const TXMLDocument& Document) {
  return TXMLGenoType(Document.Shared(), Document.Root("GenoType"));
}

TXMLChromosomes NewChromosomesDocument() { return BindChromosomesDocument(TXMLDocument::Create("Chromosomes")); }
TXMLChromosomes LoadChromosomesDocument(const std::string& FileName) {
  return BindChromosomesDocument(TXMLDocument::LoadFromFile(FileName));
}
TXMLChromosomes BindChromosomesDocument(const TXMLDocument& Document) {
  return TXMLChromosomes(Document.Shared(), Document.Root("Chromosomes"));
}

}  // namespace zp::xml
