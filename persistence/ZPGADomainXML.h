// The typed nodes of the genotype and the population: GenoType with its four
// gene elements, Chromosomes with its Chromosome elements, and the Domain node
// of the algorithm document that holds one of each. Root documents of their
// own come from NewGenoTypeDocument and NewChromosomesDocument.
//
//   TXMLGenoType geno = NewGenoTypeDocument();
//   TXMLIntegerGeneType g = geno.IntegerGene().Add();
//   g.SetName("Col 0"); g.SetSize(3);
//   geno.SetSize(3);
//   geno.OwnerDocument().SaveToFile("genotype.xml");
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "persistence/XMLDocument.h"
#include "persistence/XMLValues.h"

namespace zp::xml {

// The four gene elements; the element name gives the gene type.
enum class TXMLGeneKind { Boolean, Integer, Float, Enumeration };

class TXMLNumericGeneType;
class TXMLEnumerationGeneType;

// Any gene element: Name and Size.
class TXMLGeneType : public TXMLNode {
 public:
  using TXMLNode::TXMLNode;
  // The kind of a gene element; "Interface not supported" for any other node.
  static TXMLGeneKind KindOf(pugi::xml_node Node);
  TXMLGeneKind Kind() const { return KindOf(node_); }
  // IntegerGene, FloatGene and EnumerationGene carry a value range.
  bool IsNumeric() const { return Kind() != TXMLGeneKind::Boolean; }
  // "Interface not supported" when the element is not of that kind.
  TXMLNumericGeneType AsNumeric() const;
  TXMLEnumerationGeneType AsEnumeration() const;

  // Empty when absent.
  std::string Name() const { return std::string(ChildText("Name")); }
  void SetName(const std::string& Value) const { SetChildText("Name", Value); }
  // No value when absent or empty.
  std::optional<int32_t> Size() const { return ReadInteger(ChildText("Size")); }
  void SetSize(int32_t Value) const { SetChildText("Size", IntegerText(Value)); }
};

class TXMLNumericGeneType : public TXMLGeneType {
 public:
  using TXMLGeneType::TXMLGeneType;
  // The three are optional: no value reads as 0 or false in the engine.
  std::optional<double> MinValue() const { return ReadDouble(ChildText("MinValue")); }
  void SetMinValue(double Value) const { SetChildText("MinValue", DoubleText(Value)); }
  std::optional<double> MaxValue() const { return ReadDouble(ChildText("MaxValue")); }
  void SetMaxValue(double Value) const { SetChildText("MaxValue", DoubleText(Value)); }
  std::optional<bool> PreserveSignBit() const { return ReadBoolean(ChildText("PreserveSignBit")); }
  void SetPreserveSignBit(bool Value) const { SetChildText("PreserveSignBit", BooleanText(Value)); }
};

class TXMLBooleanGeneType : public TXMLGeneType {
 public:
  using TXMLGeneType::TXMLGeneType;
};
class TXMLIntegerGeneType : public TXMLNumericGeneType {
 public:
  using TXMLNumericGeneType::TXMLNumericGeneType;
};
class TXMLFloatGeneType : public TXMLNumericGeneType {
 public:
  using TXMLNumericGeneType::TXMLNumericGeneType;
};
class TXMLEnumerationGeneType : public TXMLNumericGeneType {
 public:
  using TXMLNumericGeneType::TXMLNumericGeneType;
  // The Enumeration texts in list order.
  TXMLString_List Enumeration() const { return TXMLString_List(node_, "Enumeration"); }
};

using TXMLBooleanGeneTypeList = TXMLNodeList<TXMLBooleanGeneType>;
using TXMLIntegerGeneTypeList = TXMLNodeList<TXMLIntegerGeneType>;
using TXMLFloatGeneTypeList = TXMLNodeList<TXMLFloatGeneType>;
using TXMLEnumerationGeneTypeList = TXMLNodeList<TXMLEnumerationGeneType>;

// The genotype: a Size attribute and one element per gene, in gene order.
class TXMLGenoType : public TXMLNode {
 public:
  using TXMLNode::TXMLNode;
  // The attribute; no value when absent or empty.
  std::optional<int32_t> Size() const { return ReadInteger(node_.attribute("Size").value()); }
  void SetSize(int32_t Value) const;

  // Each list holds the genes of one kind; Add appends after every gene of any kind.
  TXMLBooleanGeneTypeList BooleanGene() const { return {doc_, node_, "BooleanGene"}; }
  TXMLIntegerGeneTypeList IntegerGene() const { return {doc_, node_, "IntegerGene"}; }
  TXMLFloatGeneTypeList FloatGene() const { return {doc_, node_, "FloatGene"}; }
  TXMLEnumerationGeneTypeList EnumerationGene() const { return {doc_, node_, "EnumerationGene"}; }
  // Every child in document order as a gene; "Interface not supported" at the
  // first child that is no gene element (another element, text, a comment, ...).
  std::vector<TXMLGeneType> Genes() const;
};

inline std::string IntegerText32(int32_t Value) { return IntegerText(Value); }
using TXMLBooleanList = TXMLValueList<bool, ReadBoolean, BooleanText>;
using TXMLFloatList = TXMLValueList<double, ReadSingle, SingleText>;
using TXMLIntegerList = TXMLValueList<int32_t, ReadInteger, IntegerText32>;

// The Genes of a chromosome: its bit text and the decoded gene values, which
// are written for people and other tools and never read back.
class TXMLGenes : public TXMLNode {
 public:
  using TXMLNode::TXMLNode;
  // Empty when absent.
  std::string Bits() const { return std::string(ChildText("Bits")); }
  void SetBits(const std::string& Value) const { SetChildText("Bits", Value); }
  TXMLBooleanList BooleanGeneValue() const { return {node_, "BooleanGeneValue"}; }
  TXMLFloatList FloatGeneValue() const { return {node_, "FloatGeneValue"}; }
  TXMLIntegerList IntegerGeneValue() const { return {node_, "IntegerGeneValue"}; }
  TXMLString_List EnumerationGeneValue() const { return {node_, "EnumerationGeneValue"}; }
};

class TXMLChromosome : public TXMLNode {
 public:
  using TXMLNode::TXMLNode;
  std::string Name() const { return std::string(ChildText("Name")); }
  void SetName(const std::string& Value) const { SetChildText("Name", Value); }
  // Found or created.
  TXMLGenes Genes() const { return TXMLGenes(doc_, ChildElement("Genes")); }
};

// The population: one Chromosome per individual, in order.
class TXMLChromosomes : public TXMLNode {
 public:
  using TXMLNode::TXMLNode;
  TXMLNodeList<TXMLChromosome> Chromosome() const { return {doc_, node_, "Chromosome"}; }
};

class TXMLGADomainType : public TXMLNode {
 public:
  using TXMLNode::TXMLNode;
  // Found or created.
  TXMLGenoType GenoType() const { return TXMLGenoType(doc_, ChildElement("GenoType")); }
  TXMLChromosomes Chromosomes() const { return TXMLChromosomes(doc_, ChildElement("Chromosomes")); }
};

// A new document with root GenoType.
TXMLGenoType NewGenoTypeDocument();
// Parses the file (EXMLDocError naming it) and binds its root.
TXMLGenoType LoadGenoTypeDocument(const std::string& FileName);
// "Interface not supported" when the root is not GenoType.
TXMLGenoType BindGenoTypeDocument(const TXMLDocument& Document);

TXMLChromosomes NewChromosomesDocument();
TXMLChromosomes LoadChromosomesDocument(const std::string& FileName);
TXMLChromosomes BindChromosomesDocument(const TXMLDocument& Document);

}  // namespace zp::xml
