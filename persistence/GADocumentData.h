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
#include "persistence/SavedSize.h"
#include "persistence/ZPGADomainXML.h"
#include "persistence/ZPGeneticAlgorithmXML.h"

namespace zp::xml {

// The largest GenoType Size, gene Size, genotype total and chromosome bit text
// a document may ask for: 2^20 = 1,048,576 bits (128 KiB per chromosome).
inline constexpr int32_t kMaxDocumentBits = 1 << 20;
// The limits below keep a load and the save of what it loaded within about
// 500 MB even with every limit reached at once (scripts/limit_documents.py
// writes such documents), and what any of them saves loads again (see the
// assertions below). Texts count at their saved length (SavedTextLength: "<"
// and ">" as 4 characters, "&" and a carriage return as 5). The engine's
// offset bookkeeping makes loading n genes cost n^2 steps, which bounds the
// genes more tightly than memory does.
inline constexpr int32_t kMaxGenoTypeGenes = 1 << 14;
// Enumeration entries of all genes of a genotype: each is an element of its own.
inline constexpr int64_t kMaxGenoTypeEntries = 1 << 16;
// The gene names and enumeration entries of a genotype, at their saved length.
inline constexpr int64_t kMaxGenoTypeText = int64_t{1} << 22;
// Individuals of a population, whatever their length.
inline constexpr int64_t kMaxPopulationIndividuals = 1 << 16;
// Individuals x chromosome bits: 2^24 bits (2 MiB packed, 16 MiB as text).
inline constexpr int64_t kMaxPopulationBits = int64_t{1} << 24;
// The names of the individuals of a population, at their saved length.
inline constexpr int64_t kMaxPopulationNameText = int64_t{1} << 22;
// Individuals x genes: a save writes one value element per gene of each individual.
inline constexpr int64_t kMaxPopulationGeneValues = 1 << 18;
// Individuals x the longest saved texts their gene values can have (an
// enumeration value is one of its entries, which may be long).
inline constexpr int64_t kMaxPopulationValueText = int64_t{1} << 23;

// A component at every limit at once saves at most
//     1,024 (declaration, settings)      + 16,384 genes x 269 + 65,536 entries x 36 + 4,194,304 (names, entries)
//   + 65,536 individuals x 134 + 16,777,216 bits + 4,194,304 (names)
//   + 262,144 values x 56 + 8,388,608 (values)
//   = 63,783,936 bytes <= 67,108,864 (kMaxDocumentFileBytes), in at most
//     64 + 16,384 x 12 + 65,536 x 2 + 65,536 x 8 + 262,144 x 2 = 1,376,320 tags and attributes
//     <= 2,097,152 (kMaxDocumentTags).
// The sum takes every limit as reached at once, which no component can do
// (genes x individuals is bounded by the gene values), so it holds for every
// state loads leave, the genotype and the population loaded from different files included.
inline constexpr TDocumentAmounts kMaxDocumentAmounts{
    kMaxGenoTypeGenes,  kMaxGenoTypeEntries,    kMaxGenoTypeText,         kMaxPopulationIndividuals,
    kMaxPopulationBits, kMaxPopulationNameText, kMaxPopulationGeneValues, kMaxPopulationValueText};
static_assert(SavedSizeBound(kMaxDocumentAmounts).Bytes == 63'783'936);
static_assert(SavedSizeBound(kMaxDocumentAmounts).Bytes <= static_cast<int64_t>(kMaxDocumentFileBytes));
static_assert(SavedSizeBound(kMaxDocumentAmounts).Tags == 1'376'320);
static_assert(SavedSizeBound(kMaxDocumentAmounts).Tags <= static_cast<int64_t>(kMaxDocumentTags));

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
// kMaxFloatExponentBits), a name or entry that a save could not write, or
// more genes, entries or text than kMaxGenoTypeGenes, kMaxGenoTypeEntries and
// kMaxGenoTypeText allow.
[[nodiscard]] TGenoTypeData ReadGenoTypeData(const TXMLGenoType& Node);
// The Chromosome children in order; bit texts are checked by CheckChromosomes.
[[nodiscard]] std::vector<TChromosomeData> ReadChromosomesData(const TXMLChromosomes& Node);
[[nodiscard]] TChromosomeData ReadChromosomeData(const TXMLChromosome& Node);
// Settings, then genotype, then population; unknown enumerator names and a
// TournamentField above kMaxTournamentField raise EGADocumentError.
[[nodiscard]] TAlgorithmData ReadAlgorithmData(const TXMLGeneticAlgorithm& Node);

// What each individual of a population costs under a genotype: its
// chromosome bits, the value elements a save writes for it and the longest
// text those values can have.
struct TIndividualSize {
  int32_t Length = 0;
  int64_t Values = 0;
  int64_t ValueText = 0;
};

// The chromosome length the genotype leaves the component with: GeneSize is
// first set to the Size attribute and then grows with every gene that needs more.
int32_t GeneSizeAfterLoad(const TGenoTypeData& Data);
// The individuals under the genotype the data makes.
TIndividualSize IndividualSizeAfterLoad(const TGenoTypeData& Data);
// The individuals of Population as they are: its owner's GeneSize and genes
// (none without an owner).
TIndividualSize IndividualSizeOf(const ga::TZPGAPopulation& Population);

// Checks what SetBitText(0, Size.Length, Bits) would read: "Invalid Bit String
// Input" for a character other than 0 or 1 among the first Length; a text
// longer than kMaxDocumentBits or a population past a limit (CheckPopulationSize,
// CheckPopulationNames) raises EGADocumentError.
void CheckChromosomes(const std::vector<TChromosomeData>& Chromosomes, const TIndividualSize& Size);
// EGADocumentError when Count individuals of that size pass
// kMaxPopulationIndividuals, kMaxPopulationBits, kMaxPopulationGeneValues or kMaxPopulationValueText.
void CheckPopulationSize(int64_t Count, const TIndividualSize& Size);
// EGADocumentError when the names of Count individuals, NameText characters
// as saved, pass kMaxPopulationNameText.
void CheckPopulationNames(int64_t Count, int64_t NameText);
// The saved length of the names of the individuals (an empty name counts 0).
int64_t SavedNameText(const ga::TZPGAPopulation& Population);
// EGADocumentError when a chromosome's bits, read over Length, hold an index
// past the entries of an enumeration gene: a save could not write its value.
// The second form replays the genotype to learn the genes and the length.
void CheckEnumerationValues(const ga::TZPGAGenes& Genes, const std::vector<TChromosomeData>& Chromosomes,
                            int32_t Length);
void CheckEnumerationValues(const TGenoTypeData& GenoType, const std::vector<TChromosomeData>& Chromosomes);
// The same for the population of GA as a load of the genotype GenoType leaves
// it: each chromosome cut to the Size attribute and grown with 0 bits to the
// new length. An enumeration gene with no entries holds no index at all, so it
// refuses any population that has an individual.
void CheckEnumerationValues(const TGenoTypeData& GenoType, const ga::TZPCustomGeneticAlgorithm& GA);

// Applying checked data, in the order that lets every setter apply its rules.
// These raise nothing for data that passed the checks above.

// The component's GeneSize := Size (when the genotype has one), then all genes
// replaced: Name, Size, MinValue, MaxValue, PreserveSignBit, then the type
// (which resets the range), then the enumeration entries one by one from a
// Size of 0: an enumeration gene with entries ends as a gene a program fills
// with them, whatever Size the document wrote.
void ApplyGenoTypeData(ga::TZPGAGenes& Genes, const TGenoTypeData& Data);
// All individuals replaced; each new one reads its bits over its own length.
void ApplyChromosomesData(ga::TZPGAPopulation& Population, const std::vector<TChromosomeData>& Data);
void ApplyChromosomeData(ga::TZPGAIndividual& Individual, const TChromosomeData& Data);
// The population emptied, then the genotype and the new population applied.
void ApplyDomainData(ga::TZPCustomGeneticAlgorithm& GA, const TGenoTypeData& GenoType,
                     const std::vector<TChromosomeData>& Chromosomes);
// Settings in document order through their setters, then ApplyDomainData.
void ApplyAlgorithmData(ga::TZPCustomGeneticAlgorithm& GA, const TAlgorithmData& Data);

}  // namespace zp::xml
