// The saved size of GA documents: texts at their escaped length, the bound a
// save stays within, and the text limits that keep every save loadable.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "TestComponents.h"
#include "persistence/SavedSize.h"
#include "persistence/XMLCharacters.h"

using namespace zp;
using namespace zp::ga;
using namespace zp::xml;
using namespace zp::xml::testing;

namespace {

// Tags and attributes, which a load counts against one limit.
int64_t Tags(const std::string& text) {
  return std::count(text.begin(), text.end(), '<') + static_cast<int64_t>(AttributeBound(text));
}

template <size_t N>
std::string Longest(const std::array<std::string_view, N>& names) {
  return std::string(*std::max_element(names.begin(), names.end(),
                                       [](std::string_view a, std::string_view b) { return a.size() < b.size(); }));
}

// The amounts SavedSizeBound takes, counted from the component as it is.
TDocumentAmounts AmountsOf(const TZPCustomGeneticAlgorithm& ga) {
  TDocumentAmounts amounts;
  amounts.Genes = ga.Genes().Count();
  for (int i = 0; i < ga.Genes().Count(); ++i) {
    const TZPGAGene& gene = ga.Genes().Items(i);
    amounts.GenoTypeText += SavedTextLength(gene.Name());
    for (const std::string& entry : gene.Enumerations().Lines()) amounts.GenoTypeText += SavedTextLength(entry);
    amounts.Entries += gene.Enumerations().Count();
  }
  const TIndividualSize size = IndividualSizeOf(ga.Population());
  amounts.Individuals = ga.Population().Count();
  amounts.Bits = amounts.Individuals * size.Length;
  amounts.NameText = SavedNameText(ga.Population());
  amounts.Values = amounts.Individuals * size.Values;
  amounts.ValueText = amounts.Individuals * size.ValueText;
  return amounts;
}

// An algorithm document whose texts need escaping throughout: EnumerationGenes
// enumeration genes of 4 entries each, then a float, an integer and an
// unnamed boolean gene; Individuals chromosomes, every third one unnamed.
std::string EscapedDocument(int EnumerationGenes, int Individuals) {
  const std::string escapes = "a&lt;b&amp;c>d&#13;e";  // "a<b&c>d\re"
  std::string genes;
  for (int g = 0; g < EnumerationGenes; ++g) {
    genes += "<EnumerationGene><Name>" + escapes + std::to_string(g) + "</Name><Size>3</Size>";
    for (int k = 0; k < 4; ++k) genes += "<Enumeration>" + Repeat(escapes, k + 1) + "</Enumeration>";
    genes += "</EnumerationGene>";
  }
  genes += "<FloatGene><Name>&gt;&gt;</Name><Size>32</Size><PreserveSignBit>true</PreserveSignBit></FloatGene>";
  genes += "<IntegerGene><Name>&#13;</Name><Size>8</Size></IntegerGene><BooleanGene><Size>1</Size></BooleanGene>";
  std::string chromosomes;
  for (int i = 0; i < Individuals; ++i) {
    // An enumeration field reads below 4 whichever end holds its lowest bit.
    std::string bits;
    for (int g = 0; g < EnumerationGenes; ++g) bits += (i + g) % 2 ? "010" : "000";
    for (int b = 0; b < 41; ++b) bits += (i * 7 + b) % 3 ? '1' : '0';
    const std::string name = i % 3 ? "<Name>" + Repeat(escapes, i % 5) + std::to_string(i) + "</Name>" : "";
    chromosomes += "<Chromosome>" + name + "<Genes><Bits>" + bits + "</Bits></Genes></Chromosome>";
  }
  return AlgorithmDocument(genes, chromosomes);
}

}  // namespace

TEST(SavedSize, SavedTextLengthIsTheLengthTheWriterGivesAText) {
  const std::string head = "<?xml version=\"1.0\"?>\n<R>";
  const std::string tail = "</R>\n";
  struct Case {
    std::string text;
    int64_t length;
  };
  const std::vector<Case> cases = {
      {"plain", 5},
      {"<", 4},
      {">", 4},
      {"&", 5},
      {"\r", 5},
      {"\"'\t\n", 4},
      {"a<b&c>d\re\xC3\xA9", 25},  // two bytes of UTF-8 stay two
  };
  for (const Case& c : cases) {
    TXMLDocument doc = TXMLDocument::Create("R");
    doc.DocumentElement().text().set(c.text.c_str());
    EXPECT_EQ(SavedTextLength(c.text), c.length) << c.text;
    EXPECT_EQ(static_cast<int64_t>(doc.XML().size() - head.size() - tail.size()), c.length) << c.text;
  }
}

TEST(SavedSize, TheFixedPartHoldsTheWidestSettings) {
  const TXMLGeneticAlgorithm root = NewGeneticAlgorithmDocument();
  root.SetDiversityLimit(-1.17549435e-38);
  root.SetFitnessCutoff(-1.17549435e-38);
  root.SetFitnessMethod(Longest(kFitnessMethodNames));
  root.SetGeneration(INT32_MIN);
  root.SetUseDiversityLimit(false);
  root.SetUseFitnessCutoff(false);
  const TXMLReproduction repro = root.Reproduction();
  repro.SetCrossoverMethod(Longest(kCrossoverMethodNames));
  repro.SetCrossoverProbability(-1.17549435e-38);
  repro.SetInversionProbability(-1.17549435e-38);
  repro.SetMutationProbability(-1.17549435e-38);
  repro.SelectionMethod().SetMethod(Longest(kSelectionMethodNames));
  repro.SelectionMethod().SetElitistPercent(-1.17549435e-38);
  repro.SelectionMethod().SetTournamentField(INT32_MIN);
  root.Domain().GenoType().SetSize(kMaxDocumentBits);
  root.Domain().Chromosomes();
  const std::string text = root.OwnerDocument().XML();
  EXPECT_NE(text.find("-1.17549435082229E-38"), std::string::npos);
  EXPECT_LE(static_cast<int64_t>(text.size()), saved_size::kFixedBytes);
  EXPECT_LE(Tags(text), saved_size::kFixedTags);
  // The name an unnamed item is saved with fits its allowance.
  EXPECT_LE(static_cast<int64_t>(TZPGAIndividual().DisplayName().size()), saved_size::kDefaultNameText);
  EXPECT_LE(static_cast<int64_t>(TZPGAGene().DisplayName().size()), saved_size::kDefaultNameText);
}

TEST(SavedSize, EscapedDocumentsSaveWithinTheBoundAndLoadBackTheSame) {
  const std::string input = EscapedDocument(100, 300);
  TZPGeneticAlgorithm ga;
  std::istringstream in(input);
  LoadFromStream(ga, in);
  ASSERT_EQ(ga.Population().Count(), 300);
  const TSavedSize bound = SavedSizeBound(AmountsOf(ga));
  const std::string saved = Text(ga);
  EXPECT_GT(saved.size(), input.size());
  EXPECT_LE(static_cast<int64_t>(saved.size()), bound.Bytes);
  EXPECT_LE(Tags(saved), bound.Tags);
  // Every element but the few fixed ones and the boolean gene's missing range is counted exactly.
  EXPECT_GE(Tags(saved) + saved_size::kFixedTags + 6, bound.Tags);
  std::ostringstream genotype, population;
  SaveToStream(ga.Genes(), genotype);
  SaveToStream(ga.Population(), population);
  EXPECT_LE(static_cast<int64_t>(genotype.str().size() + population.str().size()), bound.Bytes);

  TZPGeneticAlgorithm again;
  std::istringstream back(saved);
  LoadFromStream(again, back);
  EXPECT_EQ(Text(again), saved);
  EXPECT_EQ(again.Genes().Items(0).Enumerations().Strings(1), "a<b&c>d\rea<b&c>d\re");
}

TEST(SavedSize, TextsPastTheirLimitsAsSavedAreRefusedAndChangeNothing) {
  const auto ga = MakeQueens();
  const std::string before = Text(*ga);
  // A '>' may stand as itself in a document and is saved as "&gt;".
  const int64_t name_chars = kMaxPopulationNameText / 4;
  const int64_t gene_chars = kMaxGenoTypeText / 4;
  const auto gene = [](const std::string& name) {
    return "<BooleanGene><Name>" + name + "</Name><Size>0</Size></BooleanGene>";
  };
  const auto named = [](const std::string& name) { return "<Chromosome><Name>" + name + "</Name></Chromosome>"; };
  struct Case {
    std::string document, message;
  };
  const std::vector<Case> cases = {
      {AlgorithmDocument(gene(std::string(gene_chars, '>')) + gene("x"), ""),
       "The names and entries of GenoType need more than 4194304 characters"},
      {AlgorithmDocument("<EnumerationGene><Name>e</Name><Size>1</Size>" + Repeat("<Enumeration/>", 65536) +
                             "</EnumerationGene><EnumerationGene><Name>f</Name><Size>1</Size>"
                             "<Enumeration>y</Enumeration></EnumerationGene>",
                         ""),
       "GenoType holds more than 65536 enumeration entries"},
      {AlgorithmDocument("", named(std::string(name_chars, '>')) + named("&amp;")),
       "2 chromosomes with names of 4194309 characters pass the limit of 4194304 characters of names in a "
       "population"},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.document);
    EXPECT_EQ(MessageOf([&] { LoadFromStream(*ga, in); }), c.message);
    EXPECT_EQ(Text(*ga), before) << c.message;
  }
  // At the limits both load, and their save loads back.
  std::istringstream full(
      AlgorithmDocument(gene(std::string(gene_chars, '>')), named(std::string(name_chars - 1, '>')) + named("x")));
  LoadFromStream(*ga, full);
  const std::string saved = Text(*ga);
  TZPGeneticAlgorithm again;
  std::istringstream back(saved);
  LoadFromStream(again, back);
  EXPECT_EQ(Text(again), saved);
}

TEST(SavedSize, AnIndividualsNameCountsAmongTheNamesOfItsPopulation) {
  TZPGeneticAlgorithm ga;
  ga.Population().Add().SetName(std::string(kMaxPopulationNameText / 4 - 1, '>'));
  ga.Population().Add().SetName("abcd");
  const auto load = [](TZPGAIndividual& individual, const std::string& name) {
    const TXMLDocument doc = TXMLDocument::Parse("<Chromosome><Name>" + name + "</Name></Chromosome>");
    LoadFromXML(individual, TXMLChromosome(doc.Shared(), doc.DocumentElement()));
  };
  EXPECT_EQ(MessageOf([&] { load(ga.Population().Items(1), "abcde"); }),
            "2 chromosomes with names of 4194305 characters pass the limit of 4194304 characters of names in a "
            "population");
  EXPECT_EQ(ga.Population().Items(1).Name(), "abcd");
  // Its own old name no longer counts.
  load(ga.Population().Items(0), "&lt;");
  EXPECT_EQ(ga.Population().Items(0).Name(), "<");
}
