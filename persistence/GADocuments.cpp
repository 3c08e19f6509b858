#include "persistence/GADocuments.h"

#include <algorithm>

#include "platform/Numbers.h"

namespace zp::xml {

using namespace zp::ga;

void SaveToXML(const TZPCustomGeneticAlgorithm& GA, const TXMLGeneticAlgorithm& Node) {
  Node.SetDiversityLimit(GA.DiversityLimit());
  Node.SetFitnessCutoff(GA.FitnessCutoff());
  Node.SetFitnessMethod(GA.FitnessMethod());
  Node.SetGeneration(GA.Generation());
  Node.SetUseDiversityLimit(GA.UseDiversityLimit());
  Node.SetUseFitnessCutoff(GA.UseFitnessCutoff());
  const TXMLReproduction repro = Node.Reproduction();
  repro.SetCrossoverMethod(GA.CrossoverMethod());
  repro.SetCrossoverProbability(GA.CrossoverProbability());
  repro.SetInversionProbability(GA.InversionProbability());
  repro.SetMutationProbability(GA.MutationProbability());
  const TXMLSelectionMethod selection = repro.SelectionMethod();
  selection.SetMethod(GA.SelectionMethod());
  selection.SetElitistPercent(GA.ElitistPct());
  selection.SetTournamentField(GA.TournamentField());
  SaveToXML(GA, Node.Domain());
}

void SaveToXML(const TZPCustomGeneticAlgorithm& GA, const TXMLGADomainType& Node) {
  SaveToXML(GA.Genes(), Node.GenoType());
  SaveToXML(GA.Population(), Node.Chromosomes());
}

void SaveToXML(const TZPGAGenes& Genes, const TXMLGenoType& Node) {
  // Each list appends after every child of GenoType, so the kinds interleave in gene order.
  TXMLBooleanGeneTypeList booleans = Node.BooleanGene();
  TXMLIntegerGeneTypeList integers = Node.IntegerGene();
  TXMLFloatGeneTypeList floats = Node.FloatGene();
  TXMLEnumerationGeneTypeList enumerations = Node.EnumerationGene();
  for (int i = 0; i < Genes.Count(); ++i) {
    const TZPGAGene& gene = Genes.Items(i);
    TXMLNumericGeneType numeric;
    switch (gene.GeneType()) {
      case TGeneType::gtUnknown:
        continue;
      case TGeneType::gtBoolean: {
        const TXMLBooleanGeneType node = booleans.Add();
        node.SetName(gene.DisplayName());
        node.SetSize(gene.Size());
        continue;
      }
      case TGeneType::gtInteger:
        numeric = integers.Add();
        break;
      case TGeneType::gtFloat:
        numeric = floats.Add();
        break;
      case TGeneType::gtEnumeration:
        numeric = enumerations.Add();
        break;
    }
    numeric.SetName(gene.DisplayName());
    numeric.SetSize(gene.Size());
    numeric.SetMinValue(gene.MinValue());
    numeric.SetMaxValue(gene.MaxValue());
    numeric.SetPreserveSignBit(gene.PreserveSignBit());
    if (gene.GeneType() == TGeneType::gtEnumeration) {
      TXMLString_List entries = numeric.AsEnumeration().Enumeration();
      for (const std::string& entry : gene.Enumerations().Lines()) entries.Add(entry);
    }
  }
  // The component's chromosomes may be longer than the genes need; the
  // attribute keeps their length, so that a load does not cut them.
  int32_t size = Genes.TotalSize();
  if (Genes.Algorithm()) size = std::max(size, Genes.Algorithm()->GeneSize());
  Node.SetSize(size);
}

void WriteGeneValues(const TZPGAGenes& Genes, const TXMLGenes& Node, const TZPGAIndividual& Individual) {
  // Decoding sets the sign mode of the bits it reads: work on a copy, not on the individual.
  TZPEncodedBits bits;
  bits.Assign(Individual.Bits());
  TXMLBooleanList booleans = Node.BooleanGeneValue();
  TXMLIntegerList integers = Node.IntegerGeneValue();
  TXMLFloatList floats = Node.FloatGeneValue();
  TXMLString_List enumerations = Node.EnumerationGeneValue();
  for (int i = 0; i < Genes.Count(); ++i) {
    const TZPGAGene& gene = Genes.Items(i);
    switch (gene.GeneType()) {
      case TGeneType::gtUnknown:
        break;
      case TGeneType::gtBoolean:
        booleans.Add(gene.DecodeBoolean(bits));
        break;
      case TGeneType::gtInteger:
        integers.Add(gene.DecodeInteger(bits));
        break;
      case TGeneType::gtFloat:
        floats.Add(static_cast<double>(gene.DecodeFloat(bits)));
        break;
      case TGeneType::gtEnumeration:
        enumerations.Add(gene.DecodeEnumeration(bits));
        break;
    }
  }
}

void SaveToXML(const TZPGAPopulation& Population, const TXMLChromosomes& Node) {
  TXMLNodeList<TXMLChromosome> list = Node.Chromosome();
  for (int i = 0; i < Population.Count(); ++i) SaveToXML(Population.Items(i), list.Add());
}

void SaveToXML(const TZPGAIndividual& Individual, const TXMLChromosome& Node) {
  Node.SetName(Individual.DisplayName());
  const TXMLGenes genes = Node.Genes();
  genes.SetBits(Individual.Bits().BitString());
  const TZPGAPopulation* population = Individual.Population();
  if (population && population->Algorithm()) WriteGeneValues(population->Algorithm()->Genes(), genes, Individual);
}

namespace {

void RunCheck(const TLoadCheck& Check, const TLoadedShape& Shape) {
  if (Check) Check(Shape);
}

// The TournamentField GA holds once its setter took Value.
int32_t TournamentFieldAfter(const TZPCustomGeneticAlgorithm& GA, int32_t Value) {
  TZPCustomGeneticAlgorithm settings;
  settings.SetTournamentField(GA.TournamentField());
  settings.SetTournamentField(Value);
  return settings.TournamentField();
}

}  // namespace

void LoadFromXML(TZPCustomGeneticAlgorithm& GA, const TXMLGeneticAlgorithm& Node, const TLoadCheck& Check) {
  const TAlgorithmData data = ReadAlgorithmData(Node);
  CheckChromosomes(data.Chromosomes, IndividualSizeAfterLoad(data.GenoType));
  CheckEnumerationValues(data.GenoType, data.Chromosomes);
  RunCheck(Check, {static_cast<int64_t>(data.Chromosomes.size()), static_cast<int64_t>(data.GenoType.Genes.size()),
                   TournamentFieldAfter(GA, data.TournamentField)});
  ApplyAlgorithmData(GA, data);
}

void LoadFromXML(TZPCustomGeneticAlgorithm& GA, const TXMLGADomainType& Node) {
  const TGenoTypeData geno = ReadGenoTypeData(Node.GenoType());
  const std::vector<TChromosomeData> chromosomes = ReadChromosomesData(Node.Chromosomes());
  CheckChromosomes(chromosomes, IndividualSizeAfterLoad(geno));
  CheckEnumerationValues(geno, chromosomes);
  ApplyDomainData(GA, geno, chromosomes);
}

void LoadFromXML(TZPGAGenes& Genes, const TXMLGenoType& Node, const TLoadCheck& Check) {
  const TGenoTypeData data = ReadGenoTypeData(Node);
  TLoadedShape shape{0, static_cast<int64_t>(data.Genes.size()), 0};
  if (const TZPCustomGeneticAlgorithm* ga = Genes.Algorithm()) {
    CheckPopulationSize(ga->Population().Count(), IndividualSizeAfterLoad(data));
    // The population stays under the new genes: every value it then holds must save.
    CheckEnumerationValues(data, *ga);
    shape.Individuals = ga->Population().Count();
    shape.TournamentField = ga->TournamentField();
  }
  RunCheck(Check, shape);
  ApplyGenoTypeData(Genes, data);
}

void LoadFromXML(TZPGAPopulation& Population, const TXMLChromosomes& Node, const TLoadCheck& Check) {
  const std::vector<TChromosomeData> data = ReadChromosomesData(Node);
  CheckChromosomes(data, IndividualSizeOf(Population));
  TLoadedShape shape{static_cast<int64_t>(data.size()), 0, 0};
  if (const TZPCustomGeneticAlgorithm* ga = Population.Algorithm()) {
    CheckEnumerationValues(ga->Genes(), data, ga->GeneSize());
    shape.Genes = ga->Genes().Count();
    shape.TournamentField = ga->TournamentField();
  }
  RunCheck(Check, shape);
  ApplyChromosomesData(Population, data);
}

void LoadFromXML(TZPGAIndividual& Individual, const TXMLChromosome& Node) {
  const TChromosomeData data = ReadChromosomeData(Node);
  CheckChromosomes({data}, {Individual.Bits().Size()});
  const TZPGAPopulation* population = Individual.Population();
  // The new name replaces this individual's own among the names of its population.
  if (population)
    CheckPopulationNames(population->Count(),
                         SavedNameText(*population) - SavedTextLength(Individual.Name()) + SavedTextLength(data.Name));
  if (population && population->Algorithm())
    CheckEnumerationValues(population->Algorithm()->Genes(), {data}, Individual.Bits().Size());
  ApplyChromosomeData(Individual, data);
}

void SaveToStream(const TZPCustomGeneticAlgorithm& GA, std::ostream& Stream) {
  const TXMLGeneticAlgorithm root = NewGeneticAlgorithmDocument();
  SaveToXML(GA, root);
  root.OwnerDocument().SaveToStream(Stream);
}

void SaveToStream(const TZPGAGenes& Genes, std::ostream& Stream) {
  const TXMLGenoType root = NewGenoTypeDocument();
  SaveToXML(Genes, root);
  root.OwnerDocument().SaveToStream(Stream);
}

void SaveToStream(const TZPGAPopulation& Population, std::ostream& Stream) {
  const TXMLChromosomes root = NewChromosomesDocument();
  SaveToXML(Population, root);
  root.OwnerDocument().SaveToStream(Stream);
}

void LoadFromStream(TZPCustomGeneticAlgorithm& GA, std::istream& Stream) {
  TXMLDocument doc = NewGeneticAlgorithmDocument().OwnerDocument();
  doc.LoadFromStream(Stream);
  LoadFromXML(GA, BindGeneticAlgorithmDocument(doc));
}

void LoadFromStream(TZPGAGenes& Genes, std::istream& Stream) {
  TXMLDocument doc;
  doc.LoadFromStream(Stream);
  LoadFromXML(Genes, BindGenoTypeDocument(doc));
}

void LoadFromStream(TZPGAPopulation& Population, std::istream& Stream) {
  TXMLDocument doc;
  doc.LoadFromStream(Stream);
  LoadFromXML(Population, BindChromosomesDocument(doc));
}

void SaveToFile(const TZPCustomGeneticAlgorithm& GA, const std::string& FileName) {
  const TXMLGeneticAlgorithm root = NewGeneticAlgorithmDocument();
  SaveToXML(GA, root);
  root.OwnerDocument().SaveToFile(FileName);
}

void SaveToFile(const TZPGAGenes& Genes, const std::string& FileName) {
  const TXMLGenoType root = NewGenoTypeDocument();
  SaveToXML(Genes, root);
  root.OwnerDocument().SaveToFile(FileName);
}

void SaveToFile(const TZPGAPopulation& Population, const std::string& FileName) {
  const TXMLChromosomes root = NewChromosomesDocument();
  SaveToXML(Population, root);
  root.OwnerDocument().SaveToFile(FileName);
}

void LoadFromFile(TZPCustomGeneticAlgorithm& GA, const std::string& FileName, const TLoadCheck& Check) {
  LoadFromXML(GA, LoadGeneticAlgorithmDocument(FileName), Check);
}

void LoadFromFile(TZPGAGenes& Genes, const std::string& FileName, const TLoadCheck& Check) {
  LoadFromXML(Genes, LoadGenoTypeDocument(FileName), Check);
}

void LoadFromFile(TZPGAPopulation& Population, const std::string& FileName, const TLoadCheck& Check) {
  LoadFromXML(Population, LoadChromosomesDocument(FileName), Check);
}

}  // namespace zp::xml
