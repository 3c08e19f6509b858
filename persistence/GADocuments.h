// Saving and loading the genetic-algorithm component, its genotype, its
// population and single individuals as GA documents, through files, streams
// or document nodes. The engine knows nothing of documents; these functions
// live here.
//
// Saving builds the whole document before anything is written, and a file is
// replaced only when all of it was written. Loading reads and checks the
// whole document first and changes nothing when any part of it is bad; then
// it applies the values in the order that lets every setter apply its rules
// (a crossover probability of 1.5 keeps the old value, gene ranges are
// recomputed when the type is set).
//
//   SaveAlgorithmFile(ga, "run.xml");
//   LoadGenoTypeFile(ga.Genes(), "genes.xml");   // "Interface not supported" for another root
#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "engine/ZPCustomGeneticAlgorithm.h"
#include "persistence/GADocumentData.h"
#include "persistence/XMLErrors.h"
#include "persistence/ZPGADomainXML.h"
#include "persistence/ZPGeneticAlgorithmXML.h"

namespace zp::xml {

// --- into document nodes ---

// Settings in document order, then the Domain. Raises "No enumerated value
// found in chromosome" for an enumeration gene whose bits hold no entry.
void SaveToXML(const ga::TZPCustomGeneticAlgorithm& GA, const TXMLGeneticAlgorithm& Node);
// Genotype, then population.
void SaveToXML(const ga::TZPCustomGeneticAlgorithm& GA, const TXMLGADomainType& Node);
// One element per gene (none for gtUnknown); the Size attribute is TotalSize,
// or the owning component's GeneSize when that is larger.
void SaveToXML(const ga::TZPGAGenes& Genes, const TXMLGenoType& Node);
// One decoded value element per gene of Genes for the chromosome of Individual.
void WriteGeneValues(const ga::TZPGAGenes& Genes, const TXMLGenes& Node, const ga::TZPGAIndividual& Individual);
// One Chromosome per individual.
void SaveToXML(const ga::TZPGAPopulation& Population, const TXMLChromosomes& Node);
// Display name and bits; the gene values too when the individual's population belongs to a component.
void SaveToXML(const ga::TZPGAIndividual& Individual, const TXMLChromosome& Node);

// --- from document nodes; all or nothing ---

// What a component holds once a load applied: a caller's own limits see it
// after the document passed every check of its own and before anything
// changes, and refuse the load by raising.
struct TLoadedShape {
  int64_t Individuals = 0;      // of the population (0 for a genotype without a component)
  int64_t Genes = 0;            // of the genotype
  int32_t TournamentField = 0;  // as the setter leaves it (0 for a genotype without a component)
};
using TLoadCheck = std::function<void(const TLoadedShape&)>;

void LoadFromXML(ga::TZPCustomGeneticAlgorithm& GA, const TXMLGeneticAlgorithm& Node, const TLoadCheck& Check = {});
void LoadFromXML(ga::TZPCustomGeneticAlgorithm& GA, const TXMLGADomainType& Node);
// With an owning component, its GeneSize becomes the Size attribute and then
// grows to the genes' total; chromosomes are resized accordingly. The load is
// refused when a chromosome would then hold no entry of an enumeration gene.
void LoadFromXML(ga::TZPGAGenes& Genes, const TXMLGenoType& Node, const TLoadCheck& Check = {});
// New individuals take their owner's GeneSize bits (none without an owner)
// from the Bits text; longer texts are cut, shorter ones padded with 0.
void LoadFromXML(ga::TZPGAPopulation& Population, const TXMLChromosomes& Node, const TLoadCheck& Check = {});
void LoadFromXML(ga::TZPGAIndividual& Individual, const TXMLChromosome& Node);

// --- streams: the written text of a whole document ---

void SaveToStream(const ga::TZPCustomGeneticAlgorithm& GA, std::ostream& Stream);
void SaveToStream(const ga::TZPGAGenes& Genes, std::ostream& Stream);
void SaveToStream(const ga::TZPGAPopulation& Population, std::ostream& Stream);
// Bad XML raises EXMLDocError "message at offset N"; a wrong root "Interface not supported".
void LoadFromStream(ga::TZPCustomGeneticAlgorithm& GA, std::istream& Stream);
void LoadFromStream(ga::TZPGAGenes& Genes, std::istream& Stream);
void LoadFromStream(ga::TZPGAPopulation& Population, std::istream& Stream);

// --- files ---

// Errors of the file itself (cannot open, read, parse, create or replace)
// raise EXMLDocError "FILE: message"; errors of the content keep their own
// messages. A failed save leaves an existing file byte for byte.
void SaveToFile(const ga::TZPCustomGeneticAlgorithm& GA, const std::string& FileName);
void SaveToFile(const ga::TZPGAGenes& Genes, const std::string& FileName);
void SaveToFile(const ga::TZPGAPopulation& Population, const std::string& FileName);
void LoadFromFile(ga::TZPCustomGeneticAlgorithm& GA, const std::string& FileName, const TLoadCheck& Check = {});
void LoadFromFile(ga::TZPGAGenes& Genes, const std::string& FileName, const TLoadCheck& Check = {});
void LoadFromFile(ga::TZPGAPopulation& Population, const std::string& FileName, const TLoadCheck& Check = {});

// The workbench's six file commands.
inline void SaveAlgorithmFile(const ga::TZPCustomGeneticAlgorithm& GA, const std::string& FileName) {
  SaveToFile(GA, FileName);
}
inline void LoadAlgorithmFile(ga::TZPCustomGeneticAlgorithm& GA, const std::string& FileName,
                              const TLoadCheck& Check = {}) {
  LoadFromFile(GA, FileName, Check);
}
inline void SaveGenoTypeFile(const ga::TZPGAGenes& Genes, const std::string& FileName) { SaveToFile(Genes, FileName); }
inline void LoadGenoTypeFile(ga::TZPGAGenes& Genes, const std::string& FileName, const TLoadCheck& Check = {}) {
  LoadFromFile(Genes, FileName, Check);
}
inline void SavePopulationFile(const ga::TZPGAPopulation& Population, const std::string& FileName) {
  SaveToFile(Population, FileName);
}
inline void LoadPopulationFile(ga::TZPGAPopulation& Population, const std::string& FileName,
                               const TLoadCheck& Check = {}) {
  LoadFromFile(Population, FileName, Check);
}

}  // namespace zp::xml
