#include "persistence/GADocumentData.h"

#include <algorithm>
#include <optional>

#include "persistence/XMLErrors.h"
#include "platform/Collection.h"
#include "platform/Numbers.h"

namespace zp::xml {

using namespace zp::ga;

namespace {

const std::string kMaxBitsText = std::to_string(kMaxDocumentBits);

// "<before> N<after> is out of range (0 to 1048576 bits)".
int32_t CheckedSize(int32_t size, const std::string& before, const std::string& after) {
  if (size < 0 || size > kMaxDocumentBits)
    throw EGADocumentError(before + " " + std::to_string(size) + after + " is out of range (0 to " + kMaxBitsText +
                           " bits)");
  return size;
}

template <typename E, size_t N>
E CheckedEnum(const std::array<std::string_view, N>& names, const std::string& text, const char* element) {
  if (auto v = EnumFromName<E>(names, text)) return *v;
  std::string known;
  for (size_t i = 0; i < N; ++i) known += (i ? ", " : "") + std::string(names[i]);
  throw EGADocumentError("\"" + text + "\" is not a valid " + element + " (one of " + known + ")");
}

int32_t BitsOfEntries(size_t count) { return BitLength(count); }

// The longest text a save writes for a value of a gene of that kind: "false",
// a 32-bit integer, a float of 15 digits with sign, point and exponent, or the
// longest entry of an enumeration as saved.
int64_t LongestValueText(TXMLGeneKind kind, const std::vector<std::string>& entries) {
  switch (kind) {
    case TXMLGeneKind::Boolean:
      return 5;
    case TXMLGeneKind::Integer:
      return 11;
    case TXMLGeneKind::Float:
      return 22;
    case TXMLGeneKind::Enumeration:
      break;
  }
  int64_t longest = 0;
  for (const std::string& entry : entries) longest = std::max(longest, SavedTextLength(entry));
  return longest;
}

// The document element a gene of that type is written as; none for gtUnknown.
std::optional<TXMLGeneKind> KindOfType(TGeneType type) {
  switch (type) {
    case TGeneType::gtBoolean:
      return TXMLGeneKind::Boolean;
    case TGeneType::gtInteger:
      return TXMLGeneKind::Integer;
    case TGeneType::gtFloat:
      return TXMLGeneKind::Float;
    case TGeneType::gtEnumeration:
      return TXMLGeneKind::Enumeration;
    case TGeneType::gtUnknown:
      break;
  }
  return std::nullopt;
}

// Names and entries are checked as a save would check them: what loads can be written again.
std::string CheckedText(std::string text, const char* element) {
  if (!IsXMLText(text)) throw EGADocumentError::UncarriableText(element);
  return text;
}

// A float gene decodes through an exponent field of at most kMaxFloatExponentBits.
void CheckFloatGene(const TGeneData& gene) {
  if (FloatExponentBits(gene.Size, gene.PreserveSignBit) <= kMaxFloatExponentBits) return;
  const int32_t widest = 4 * kMaxFloatExponentBits + 3;
  throw EGADocumentError("Size " + std::to_string(gene.Size) + " of gene \"" + gene.Name +
                         "\" is out of range for a float gene (0 to " + std::to_string(widest) + " bits, " +
                         std::to_string(widest + 1) + " with PreserveSignBit)");
}

}  // namespace

TGenoTypeData ReadGenoTypeData(const TXMLGenoType& Node) {
  TGenoTypeData data;
  data.Size = CheckedSize(Node.Size().value_or(0), "GenoType Size", "");
  // The genes need at most the sum of their widths at any moment of a load;
  // bounding it keeps offsets and GeneSize small.
  int64_t total = 0;
  // Entries and texts are bounded so that the genotype's save stays within a
  // document a load reads (the assertions next to the limits).
  int64_t entries = 0;
  int64_t text = 0;
  // Child by child, so that errors come in the order a sequential load meets them.
  for (const pugi::xml_node child : Node.ChildNodes()) {
    TXMLGeneType::KindOf(child);
    const TXMLGeneType node(Node.OwnerDocument().Shared(), child);
    TGeneData gene;
    gene.Kind = node.Kind();
    gene.Name = CheckedText(node.Name(), "Name");
    gene.Size = CheckedSize(RequiredInteger(node.Size()), "Size", " of gene \"" + gene.Name + "\"");
    if (node.IsNumeric()) {
      const TXMLNumericGeneType numeric = node.AsNumeric();
      gene.MinValue = numeric.MinValue().value_or(0);
      gene.MaxValue = numeric.MaxValue().value_or(0);
      gene.PreserveSignBit = numeric.PreserveSignBit().value_or(false);
    }
    if (gene.Kind == TXMLGeneKind::Enumeration) {
      const TXMLString_List names = node.AsEnumeration().Enumeration();
      for (int i = 0; i < names.Count(); ++i) gene.Enumerations.push_back(CheckedText(names.Items(i), "Enumeration"));
    }
    if (gene.Kind == TXMLGeneKind::Float) CheckFloatGene(gene);
    total += std::max<int64_t>(gene.Size, BitsOfEntries(gene.Enumerations.size()));
    if (total > kMaxDocumentBits)
      throw EGADocumentError("The genes of GenoType need more than " + kMaxBitsText + " bits");
    if (data.Genes.size() == static_cast<size_t>(kMaxGenoTypeGenes))
      throw EGADocumentError("GenoType holds more than " + std::to_string(kMaxGenoTypeGenes) + " genes");
    entries += static_cast<int64_t>(gene.Enumerations.size());
    if (entries > kMaxGenoTypeEntries)
      throw EGADocumentError("GenoType holds more than " + std::to_string(kMaxGenoTypeEntries) +
                             " enumeration entries");
    text += SavedTextLength(gene.Name);
    for (const std::string& entry : gene.Enumerations) text += SavedTextLength(entry);
    if (text > kMaxGenoTypeText)
      throw EGADocumentError("The names and entries of GenoType need more than " + std::to_string(kMaxGenoTypeText) +
                             " characters");
    data.Genes.push_back(std::move(gene));
  }
  return data;
}

TChromosomeData ReadChromosomeData(const TXMLChromosome& Node) {
  TChromosomeData data;
  data.Name = CheckedText(Node.Name(), "Name");
  data.Bits = Node.Genes().Bits();
  return data;
}

std::vector<TChromosomeData> ReadChromosomesData(const TXMLChromosomes& Node) {
  std::vector<TChromosomeData> data;
  const TXMLNodeList<TXMLChromosome> list = Node.Chromosome();
  data.reserve(static_cast<size_t>(list.Count()));
  for (int i = 0; i < list.Count(); ++i) data.push_back(ReadChromosomeData(list.Items(i)));
  return data;
}

TAlgorithmData ReadAlgorithmData(const TXMLGeneticAlgorithm& Node) {
  TAlgorithmData d;
  d.DiversityLimit = RequiredSingle(Node.DiversityLimit());
  d.FitnessCutoff = RequiredSingle(Node.FitnessCutoff());
  d.FitnessMethod = CheckedEnum<TGAFitnessMethod>(kFitnessMethodNames, Node.FitnessMethod(), "FitnessMethod");
  d.Generation = RequiredInteger(Node.Generation());
  d.UseDiversityLimit = RequiredBoolean(Node.UseDiversityLimit());
  d.UseFitnessCutoff = RequiredBoolean(Node.UseFitnessCutoff());
  const TXMLReproduction repro = Node.Reproduction();
  d.CrossoverMethod =
      CheckedEnum<TGACrossoverMethod>(kCrossoverMethodNames, repro.CrossoverMethod(), "CrossoverMethod");
  d.CrossoverProbability = RequiredSingle(repro.CrossoverProbability());
  d.InversionProbability = RequiredSingle(repro.InversionProbability());
  d.MutationProbability = RequiredSingle(repro.MutationProbability());
  const TXMLSelectionMethod selection = repro.SelectionMethod();
  d.SelectionMethod = CheckedEnum<TGASelectionMethod>(kSelectionMethodNames, selection.Method(), "SelectionMethod");
  d.ElitistPercent = RequiredSingle(selection.ElitistPercent());
  d.TournamentField = RequiredInteger(selection.TournamentField());
  // Each tournament draws that many times: a huge field would make Run hang.
  if (d.TournamentField > kMaxTournamentField)
    throw EGADocumentError("TournamentField " + std::to_string(d.TournamentField) + " is out of range (at most " +
                           std::to_string(kMaxTournamentField) + ")");
  const TXMLGADomainType domain = Node.Domain();
  d.GenoType = ReadGenoTypeData(domain.GenoType());
  d.Chromosomes = ReadChromosomesData(domain.Chromosomes());
  return d;
}

int32_t GeneSizeAfterLoad(const TGenoTypeData& Data) {
  // Replaying the load on an empty component gives exactly the engine's answer.
  TZPCustomGeneticAlgorithm scratch;
  ApplyGenoTypeData(scratch.Genes(), Data);
  return scratch.GeneSize();
}

TIndividualSize IndividualSizeAfterLoad(const TGenoTypeData& Data) {
  TIndividualSize size;
  size.Length = GeneSizeAfterLoad(Data);
  size.Values = static_cast<int64_t>(Data.Genes.size());
  for (const TGeneData& gene : Data.Genes) size.ValueText += LongestValueText(gene.Kind, gene.Enumerations);
  return size;
}

TIndividualSize IndividualSizeOf(const TZPGAPopulation& Population) {
  TIndividualSize size;
  const TZPCustomGeneticAlgorithm* ga = Population.Algorithm();
  if (!ga) return size;
  size.Length = ga->GeneSize();
  const TZPGAGenes& genes = ga->Genes();
  for (int i = 0; i < genes.Count(); ++i) {
    const TZPGAGene& gene = genes.Items(i);
    if (const std::optional<TXMLGeneKind> kind = KindOfType(gene.GeneType())) {
      ++size.Values;
      size.ValueText += LongestValueText(*kind, gene.Enumerations().Lines());
    }
  }
  return size;
}

void CheckPopulationSize(int64_t Count, const TIndividualSize& Size) {
  const std::string individuals = std::to_string(Count) + " chromosomes";
  auto check = [&](int64_t need, int64_t limit, const std::string& of, const std::string& unit) {
    if (need > limit)
      throw EGADocumentError(individuals + of + " pass the limit of " + std::to_string(limit) + unit +
                             " in a population");
  };
  check(Count, kMaxPopulationIndividuals, "", " individuals");
  check(Count * Size.Length, kMaxPopulationBits, " of " + std::to_string(Size.Length) + " bits", " bits");
  check(Count * Size.Values, kMaxPopulationGeneValues, " of " + std::to_string(Size.Values) + " genes", " gene values");
  check(Count * Size.ValueText, kMaxPopulationValueText,
        " with gene values of up to " + std::to_string(Size.ValueText) + " characters", " characters of gene values");
}

void CheckPopulationNames(int64_t Count, int64_t NameText) {
  if (NameText > kMaxPopulationNameText)
    throw EGADocumentError(std::to_string(Count) + " chromosomes with names of " + std::to_string(NameText) +
                           " characters pass the limit of " + std::to_string(kMaxPopulationNameText) +
                           " characters of names in a population");
}

int64_t SavedNameText(const TZPGAPopulation& Population) {
  int64_t text = 0;
  for (int i = 0; i < Population.Count(); ++i) text += SavedTextLength(Population.Items(i).Name());
  return text;
}

void CheckChromosomes(const std::vector<TChromosomeData>& Chromosomes, const TIndividualSize& Size) {
  const int32_t Length = Size.Length;
  CheckPopulationSize(static_cast<int64_t>(Chromosomes.size()), Size);
  int64_t names = 0;
  for (const TChromosomeData& chromosome : Chromosomes) names += SavedTextLength(chromosome.Name);
  CheckPopulationNames(static_cast<int64_t>(Chromosomes.size()), names);
  for (size_t i = 0; i < Chromosomes.size(); ++i) {
    const std::string& bits = Chromosomes[i].Bits;
    if (bits.size() > static_cast<size_t>(kMaxDocumentBits))
      throw EGADocumentError("The Bits of chromosome " + std::to_string(i) + " hold " + std::to_string(bits.size()) +
                             " characters; at most " + kMaxBitsText + " are allowed");
    const size_t read = std::min(bits.size(), static_cast<size_t>(std::max(Length, 0)));
    for (size_t k = 0; k < read; ++k)
      if (bits[k] != '0' && bits[k] != '1') throw Exception("Invalid Bit String Input");
  }
}

namespace {

std::vector<const TZPGAGene*> EnumerationGenes(const TZPGAGenes& Genes) {
  std::vector<const TZPGAGene*> enumerations;
  for (int i = 0; i < Genes.Count(); ++i)
    if (Genes.Items(i).GeneType() == TGeneType::gtEnumeration) enumerations.push_back(&Genes.Items(i));
  return enumerations;
}

void CheckEntries(const std::vector<const TZPGAGene*>& Enumerations, TZPEncodedBits& Bits, size_t Chromosome) {
  for (const TZPGAGene* gene : Enumerations)
    if (!gene->EnumerationIndex(Bits))
      throw EGADocumentError("The Bits of chromosome " + std::to_string(Chromosome) + " hold no entry of the gene \"" +
                             gene->DisplayName() + "\"");
}

bool HasEnumeration(const TGenoTypeData& GenoType) {
  return std::any_of(GenoType.Genes.begin(), GenoType.Genes.end(),
                     [](const TGeneData& g) { return g.Kind == TXMLGeneKind::Enumeration; });
}

}  // namespace

void CheckEnumerationValues(const TZPGAGenes& Genes, const std::vector<TChromosomeData>& Chromosomes, int32_t Length) {
  const std::vector<const TZPGAGene*> enumerations = EnumerationGenes(Genes);
  if (enumerations.empty()) return;
  TZPEncodedBits bits;
  for (size_t i = 0; i < Chromosomes.size(); ++i) {
    bits.SetSize(std::max(Length, 0));
    bits.SetBitText(0, bits.Size(), Chromosomes[i].Bits);
    CheckEntries(enumerations, bits, i);
  }
}

void CheckEnumerationValues(const TGenoTypeData& GenoType, const std::vector<TChromosomeData>& Chromosomes) {
  if (Chromosomes.empty() || !HasEnumeration(GenoType)) return;
  TZPCustomGeneticAlgorithm scratch;
  ApplyGenoTypeData(scratch.Genes(), GenoType);
  CheckEnumerationValues(scratch.Genes(), Chromosomes, scratch.GeneSize());
}

void CheckEnumerationValues(const TGenoTypeData& GenoType, const TZPCustomGeneticAlgorithm& GA) {
  if (GA.Population().Count() == 0 || !HasEnumeration(GenoType)) return;
  // A copy of the population goes through the load in a scratch component, so
  // that its chromosomes are cut and grown exactly as the component's would be.
  TZPCustomGeneticAlgorithm scratch;
  scratch.SetGeneSize(GA.GeneSize());
  scratch.Population().Assign(GA.Population());
  ApplyGenoTypeData(scratch.Genes(), GenoType);
  const std::vector<const TZPGAGene*> enumerations = EnumerationGenes(scratch.Genes());
  for (int i = 0; i < scratch.Population().Count(); ++i)
    CheckEntries(enumerations, scratch.Population().Items(i).Bits(), static_cast<size_t>(i));
}

void ApplyGenoTypeData(TZPGAGenes& Genes, const TGenoTypeData& Data) {
  if (TZPCustomGeneticAlgorithm* ga = Genes.Algorithm()) ga->SetGeneSize(Data.Size);
  TUpdateGuard update(Genes);
  Genes.Clear();
  for (const TGeneData& d : Data.Genes) {
    TZPGAGene& gene = Genes.Add();
    gene.SetName(d.Name);
    gene.SetSize(d.Size);
    if (d.Kind != TXMLGeneKind::Boolean) {
      gene.SetMinValue(d.MinValue);
      gene.SetMaxValue(d.MaxValue);
      gene.SetPreserveSignBit(d.PreserveSignBit);
    }
    // Setting the type recomputes the range; the bounds read above do not survive it.
    switch (d.Kind) {
      case TXMLGeneKind::Boolean:
        gene.SetGeneType(TGeneType::gtBoolean);
        break;
      case TXMLGeneKind::Float:
        gene.SetGeneType(TGeneType::gtFloat);
        break;
      case TXMLGeneKind::Enumeration:
        gene.SetGeneType(TGeneType::gtEnumeration);
        // The entries size the gene from no bits, as they size a gene a
        // program fills, so that the first one always resets the range. From
        // the document's Size, one entry would keep the range the type left
        // (0 to -1) when that Size is 1 and reset it (0 to 0) otherwise, and
        // the gene would not load back to itself.
        if (!d.Enumerations.empty()) gene.SetSize(0);
        for (const std::string& entry : d.Enumerations) gene.MutableEnumerations().Add(entry);
        break;
      case TXMLGeneKind::Integer:
        gene.SetGeneType(TGeneType::gtInteger);
        break;
    }
  }
}

void ApplyChromosomeData(TZPGAIndividual& Individual, const TChromosomeData& Data) {
  Individual.SetName(Data.Name);
  Individual.Bits().SetBitText(0, Individual.Bits().Size(), Data.Bits);
}

void ApplyChromosomesData(TZPGAPopulation& Population, const std::vector<TChromosomeData>& Data) {
  TUpdateGuard update(Population);
  Population.Clear();
  for (const TChromosomeData& d : Data) ApplyChromosomeData(Population.Add(), d);
}

void ApplyAlgorithmData(TZPCustomGeneticAlgorithm& GA, const TAlgorithmData& d) {
  GA.SetDiversityLimit(d.DiversityLimit);
  GA.SetFitnessCutoff(d.FitnessCutoff);
  GA.SetFitnessMethod(d.FitnessMethod);
  GA.SetGeneration(d.Generation);
  GA.SetUseDiversityLimit(d.UseDiversityLimit);
  GA.SetUseFitnessCutoff(d.UseFitnessCutoff);
  GA.SetCrossoverMethod(d.CrossoverMethod);
  GA.SetCrossoverProbability(d.CrossoverProbability);
  GA.SetInversionProbability(d.InversionProbability);
  GA.SetMutationProbability(d.MutationProbability);
  GA.SetSelectionMethod(d.SelectionMethod);
  GA.SetElitistPct(d.ElitistPercent);
  GA.SetTournamentField(d.TournamentField);
  ApplyDomainData(GA, d.GenoType, d.Chromosomes);
}

void ApplyDomainData(TZPCustomGeneticAlgorithm& GA, const TGenoTypeData& GenoType,
                     const std::vector<TChromosomeData>& Chromosomes) {
  // The population is replaced anyway: emptied first, its individuals are not
  // resized to every GeneSize the genotype passes through, which the checks
  // (made for the new population only) do not bound.
  TUpdateGuard update(GA.Population());
  GA.Population().Clear();
  ApplyGenoTypeData(GA.Genes(), GenoType);
  ApplyChromosomesData(GA.Population(), Chromosomes);
}

}  // namespace zp::xml
