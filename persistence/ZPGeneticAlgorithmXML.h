// The typed nodes of the algorithm document: GeneticAlgorithm with its
// settings, Reproduction, SelectionMethod and the Domain holding the genotype
// and the population. Enumerated settings are read as text (the engine looks
// the name up) and can be written from the enumerator.
//
//   TXMLGeneticAlgorithm ga = LoadGeneticAlgorithmDocument("run.xml");
//   std::optional<int32_t> g = ga.Generation();      // no value when absent or empty
//   ga.Reproduction().SetCrossoverProbability(0.9);   // written "0.899999976158142"
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "engine/ZPGAConsts.h"
#include "persistence/XMLDocument.h"
#include "persistence/XMLValues.h"
#include "persistence/ZPGADomainXML.h"

namespace zp::xml {

class TXMLSelectionMethod : public TXMLNode {
 public:
  using TXMLNode::TXMLNode;
  // An enumerator name of TGASelectionMethod; empty when absent.
  std::string Method() const { return std::string(ChildText("Method")); }
  void SetMethod(const std::string& Value) const { SetChildText("Method", Value); }
  void SetMethod(ga::TGASelectionMethod Value) const { SetChildText("Method", ga::ToString(Value)); }
  // Single.
  std::optional<double> ElitistPercent() const { return ReadSingle(ChildText("ElitistPercent")); }
  void SetElitistPercent(double Value) const { SetChildText("ElitistPercent", SingleText(Value)); }
  std::optional<int32_t> TournamentField() const { return ReadInteger(ChildText("TournamentField")); }
  void SetTournamentField(int32_t Value) const { SetChildText("TournamentField", IntegerText(Value)); }
};

class TXMLReproduction : public TXMLNode {
 public:
  using TXMLNode::TXMLNode;
  // An enumerator name of TGACrossoverMethod; empty when absent.
  std::string CrossoverMethod() const { return std::string(ChildText("CrossoverMethod")); }
  void SetCrossoverMethod(const std::string& Value) const { SetChildText("CrossoverMethod", Value); }
  void SetCrossoverMethod(ga::TGACrossoverMethod Value) const { SetChildText("CrossoverMethod", ga::ToString(Value)); }
  // Singles.
  std::optional<double> CrossoverProbability() const { return ReadSingle(ChildText("CrossoverProbability")); }
  void SetCrossoverProbability(double Value) const { SetChildText("CrossoverProbability", SingleText(Value)); }
  std::optional<double> InversionProbability() const { return ReadSingle(ChildText("InversionProbability")); }
  void SetInversionProbability(double Value) const { SetChildText("InversionProbability", SingleText(Value)); }
  std::optional<double> MutationProbability() const { return ReadSingle(ChildText("MutationProbability")); }
  void SetMutationProbability(double Value) const { SetChildText("MutationProbability", SingleText(Value)); }
  // Found or created.
  TXMLSelectionMethod SelectionMethod() const { return TXMLSelectionMethod(doc_, ChildElement("SelectionMethod")); }
};

class TXMLGeneticAlgorithm : public TXMLNode {
 public:
  using TXMLNode::TXMLNode;
  // Singles.
  std::optional<double> DiversityLimit() const { return ReadSingle(ChildText("DiversityLimit")); }
  void SetDiversityLimit(double Value) const { SetChildText("DiversityLimit", SingleText(Value)); }
  std::optional<double> FitnessCutoff() const { return ReadSingle(ChildText("FitnessCutoff")); }
  void SetFitnessCutoff(double Value) const { SetChildText("FitnessCutoff", SingleText(Value)); }
  // An enumerator name of TGAFitnessMethod; empty when absent.
  std::string FitnessMethod() const { return std::string(ChildText("FitnessMethod")); }
  void SetFitnessMethod(const std::string& Value) const { SetChildText("FitnessMethod", Value); }
  void SetFitnessMethod(ga::TGAFitnessMethod Value) const { SetChildText("FitnessMethod", ga::ToString(Value)); }
  std::optional<int32_t> Generation() const { return ReadInteger(ChildText("Generation")); }
  void SetGeneration(int32_t Value) const { SetChildText("Generation", IntegerText(Value)); }
  std::optional<bool> UseDiversityLimit() const { return ReadBoolean(ChildText("UseDiversityLimit")); }
  void SetUseDiversityLimit(bool Value) const { SetChildText("UseDiversityLimit", BooleanText(Value)); }
  std::optional<bool> UseFitnessCutoff() const { return ReadBoolean(ChildText("UseFitnessCutoff")); }
  void SetUseFitnessCutoff(bool Value) const { SetChildText("UseFitnessCutoff", BooleanText(Value)); }
  // Found or created.
  TXMLReproduction Reproduction() const { return TXMLReproduction(doc_, ChildElement("Reproduction")); }
  TXMLGADomainType Domain() const { return TXMLGADomainType(doc_, ChildElement("Domain")); }
};

// A new document with root GeneticAlgorithm.
TXMLGeneticAlgorithm NewGeneticAlgorithmDocument();
// Parses the file (EXMLDocError naming it) and binds its root.
TXMLGeneticAlgorithm LoadGeneticAlgorithmDocument(const std::string& FileName);
// "Interface not supported" when the root is not GeneticAlgorithm.
TXMLGeneticAlgorithm BindGeneticAlgorithmDocument(const TXMLDocument& Document);

}  // namespace zp::xml
