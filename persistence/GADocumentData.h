// The checked content of a GA document: every value converted, every
// enumerator matched, every size within kMaxDocumentBits, every bit text
// valid. Loading reads a document into these plain values first and applies
// them only when the whole document passed, so a bad document changes nothing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ZPCustomGeneticAlgorithm.h"
#include "engine/ZPGAConsts.h"
#include "persistence/ZPGADomainXML.h"
#include "persistence/ZPGeneticAlgorithmXML.h"

namespace zp::xml {

// The largest GenoType Size, gene Size, genotype total and chromosome bit text
// a document may ask for: 2^20 = 1,048,576 bits (128 KiB per chromosome).
inline constexpr int32_t kMaxDocumentBits = 1 << 20;
// The largest population a document may make: individuals x chromosome bits,
// 2^30 bits (128 MiB).
inline constexpr int64_t kMaxPopulationBits = int64_t{1} << 30;

// The largest TournamentField a document may set.
inline constexpr int32_t kMaxTournamentField = 1 << 16;

struct TGeneData {
  TXMLGeneKind Kind = TXMLGeneKind::Boolean;
  std::string Name;
  int32_t Size = 0;
  // Numeric genes only; absent values are 0 and false.
  double MinValue = 0;
  double MaxValue = 0;
  bool PreserveSignBit = false;
  std::vector<std::string> Enumerations;  // enumeration genes only
};

struct TGenoTypeData {
  int32_t Size = 0;  // the attribute, 0 when absent
  std::vector<TGeneData> Genes;
};

struct TChromosomeData {
  std::string Name;
  std::string Bits;
};

struct TAlgorithmData {
  double DiversityLimit = 0;
  double FitnessCutoff = 0;
  ga::TGAFitnessMethod FitnessMethod{};
  int32_t Generation = 0;
  bool UseDiversityLimit = false;
  bool UseFitnessCutoff = false;
  ga::TGACrossoverMethod CrossoverMethod{};
  double CrossoverProbability = 0;
  double InversionProbability = 0;
  double MutationProbability = 0;
  ga::TGASelectionMethod SelectionMethod{};
  double ElitistPercent = 0;
  int32_t TournamentField = 0;
  TGenoTypeData GenoType;
  std::vector<TChromosomeData> Chromosomes;
};

// Raises the first error a sequential load would meet: a conversion error,
// "Interface not supported" for a child that is no gene, or EGADocumentError
// for a size out of range (for a float gene, an exponent field past
// kMaxFloatExponentBits) or a name or entry that a save could not write.
TGenoTypeData ReadGenoTypeData(const TXMLGenoType& Node);
// The Chromosome children in order; bit texts are checked by CheckChromosomes.
std::vector<TChromosomeData> ReadChromosomesData(const TXMLChromosomes& Node);
TChromosomeData ReadChromosomeData(const TXMLChromosome& Node);
// Settings, then genotype, then population; unknown enumerator names and a
// TournamentField above kMaxTournamentField raise EGADocumentError.
TAlgorithmData ReadAlgorithmData(const TXMLGeneticAlgorithm& Node);

// The chromosome length the genotype leaves the component with: GeneSize is
// first set to the Size attribute and then grows with every gene that needs more.
int32_t GeneSizeAfterLoad(const TGenoTypeData& Data);

// Checks what SetBitText(0, Length, Bits) would read: "Invalid Bit String
// Input" for a character other than 0 or 1 among the first Length; a text
// longer than kMaxDocumentBits or a population beyond kMaxPopulationBits raises EGADocumentError.
void CheckChromosomes(const std::vector<TChromosomeData>& Chromosomes, int32_t Length);
// EGADocumentError when a chromosome's bits, read over Length, hold an index
// past the entries of an enumeration gene: a save could not write its value.
// The second form replays the genotype to learn the genes and the length.
void CheckEnumerationValues(const ga::TZPGAGenes& Genes, const std::vector<TChromosomeData>& Chromosomes,
                            int32_t Length);
void CheckEnumerationValues(const TGenoTypeData& GenoType, const std::vector<TChromosomeData>& Chromosomes);
// EGADocumentError when Count chromosomes of Length bits pass kMaxPopulationBits.
void CheckPopulationSize(int64_t Count, int32_t Length);

// Applying checked data, in the order that lets every setter apply its rules.
// These raise nothing for data that passed the checks above.

// The component's GeneSize := Size (when the genotype has one), then all genes
// replaced: Name, Size, MinValue, MaxValue, PreserveSignBit, then the type
// (which resets the range), then the enumeration entries one by one.
void ApplyGenoTypeData(ga::TZPGAGenes& Genes, const TGenoTypeData& Data);
// All individuals replaced; each new one reads its bits over its own length.
void ApplyChromosomesData(ga::TZPGAPopulation& Population, const std::vector<TChromosomeData>& Data);
void ApplyChromosomeData(ga::TZPGAIndividual& Individual, const TChromosomeData& Data);
// Settings in document order through their setters, then genotype and population.
void ApplyAlgorithmData(ga::TZPCustomGeneticAlgorithm& GA, const TAlgorithmData& Data);

}  // namespace zp::xml
