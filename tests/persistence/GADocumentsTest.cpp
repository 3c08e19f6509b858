#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "TestComponents.h"
#include "platform/Numbers.h"

using namespace zp;
using namespace zp::ga;
using namespace zp::xml;
using namespace zp::xml::testing;

namespace {

using zp::test::TempFile;

float Single(double v) { return static_cast<float>(v); }

}  // namespace

TEST(GADocuments, RoundTripOfAnInitializedQueensComponent) {
  const auto source = MakeQueens();
  ASSERT_EQ(source->Generation(), 3);
  const std::string file = TempFile("queens_round_trip.xml");
  SaveAlgorithmFile(*source, file);

  TZPGeneticAlgorithm loaded;
  LoadAlgorithmFile(loaded, file);

  ASSERT_EQ(loaded.Genes().Count(), 8);
  for (int i = 0; i < 8; ++i) {
    const TZPGAGene& g = loaded.Genes().Items(i);
    EXPECT_EQ(g.GeneType(), TGeneType::gtInteger);
    EXPECT_EQ(g.Name(), "Col " + std::to_string(i));
    EXPECT_EQ(g.Size(), 3);
    EXPECT_EQ(g.Offset(), 3 * i);
    EXPECT_EQ(g.MinValue(), 0);
    EXPECT_EQ(g.MaxValue(), 7);
    EXPECT_FALSE(g.PreserveSignBit());
  }
  EXPECT_EQ(loaded.GeneSize(), 24);
  ASSERT_EQ(loaded.Population().Count(), 32);
  for (int i = 0; i < 32; ++i)
    EXPECT_TRUE(loaded.Population().Items(i).Bits() == source->Population().Items(i).Bits()) << i;
  EXPECT_EQ(loaded.Generation(), 3);
  EXPECT_EQ(loaded.FitnessMethod(), TGAFitnessMethod::fmMaximize);
  EXPECT_EQ(loaded.CrossoverMethod(), TGACrossoverMethod::cmBitBoundary);
  EXPECT_EQ(loaded.SelectionMethod(), TGASelectionMethod::smTournament);
  EXPECT_EQ(loaded.TournamentField(), 3);
  EXPECT_TRUE(loaded.UseDiversityLimit());
  EXPECT_FALSE(loaded.UseFitnessCutoff());
  EXPECT_EQ(loaded.CrossoverProbability(), Single(0.98));
  EXPECT_EQ(FormatFloat15(loaded.CrossoverProbability()), "0.980000019073486");
  EXPECT_EQ(FormatFloat15(loaded.MutationProbability()), "0.0416666679084301");
  EXPECT_EQ(loaded.InversionProbability(), Single(0.1));
  EXPECT_EQ(loaded.DiversityLimit(), Single(0.02));
  EXPECT_EQ(loaded.ElitistPct(), Single(0.1));
  EXPECT_EQ(loaded.FitnessCutoff(), 28);
  // Neither the flag nor the fitness travels.
  EXPECT_FALSE(loaded.Initialized());
  EXPECT_EQ(loaded.Population().Items(0).Fitness(), 0);
  // A second save writes the same text.
  EXPECT_EQ(Text(loaded), Text(*source));
}

TEST(GADocuments, QueensGenotypeIsWrittenAsTheWorkbenchBuiltIt) {
  const auto ga = MakeQueens();
  const TXMLGenoType geno = NewGenoTypeDocument();
  SaveToXML(ga->Genes(), geno);
  EXPECT_EQ(geno.Size(), 24);
  const std::vector<TXMLGeneType> genes = geno.Genes();
  ASSERT_EQ(genes.size(), 8u);
  for (int i = 0; i < 8; ++i) {
    const TXMLNumericGeneType g = genes[static_cast<size_t>(i)].AsNumeric();
    EXPECT_EQ(g.Kind(), TXMLGeneKind::Integer);
    EXPECT_EQ(g.Name(), "Col " + std::to_string(i));
    EXPECT_EQ(g.Size(), 3);
    EXPECT_EQ(g.MinValue(), 0);
    EXPECT_EQ(g.MaxValue(), 7);
    EXPECT_EQ(g.PreserveSignBit(), false);
  }
}

namespace {

// A boolean gene without a name and an enumeration gene of three colours;
// two individuals with known bits.
void MakeColours(TZPGeneticAlgorithm& ga) {
  ga.Genes().Add().SetGeneType(TGeneType::gtBoolean);
  ga.Genes().Items(0).SetSize(1);
  TZPGAGene& colour = ga.Genes().Add();
  colour.SetGeneType(TGeneType::gtEnumeration);
  colour.SetName("Colour");
  for (const char* c : {"red", "green", "blue"}) colour.MutableEnumerations().Add(c);
  ga.Population().Add().Bits().SetBitText(0, 3, "110");
  TZPGAIndividual& eve = ga.Population().Add();
  eve.SetName("Eve");
  eve.Bits().SetBitText(0, 3, "001");
}

}  // namespace

TEST(GADocuments, WritesGenotypeAndPopulationText) {
  TZPGeneticAlgorithm ga;
  MakeColours(ga);
  std::ostringstream geno, pop;
  SaveToStream(ga.Genes(), geno);
  SaveToStream(ga.Population(), pop);
  // The third colour leaves the gene at 2 bits, so its range is not reset again.
  EXPECT_EQ(geno.str(),
            "<?xml version=\"1.0\"?>\n"
            "<GenoType Size=\"3\">\n"
            "  <BooleanGene>\n"
            "    <Name>TZPGAGene</Name>\n"
            "    <Size>1</Size>\n"
            "  </BooleanGene>\n"
            "  <EnumerationGene>\n"
            "    <Name>Colour</Name>\n"
            "    <Size>2</Size>\n"
            "    <MinValue>0</MinValue>\n"
            "    <MaxValue>1</MaxValue>\n"
            "    <PreserveSignBit>false</PreserveSignBit>\n"
            "    <Enumeration>red</Enumeration>\n"
            "    <Enumeration>green</Enumeration>\n"
            "    <Enumeration>blue</Enumeration>\n"
            "  </EnumerationGene>\n"
            "</GenoType>\n");
  EXPECT_EQ(pop.str(),
            "<?xml version=\"1.0\"?>\n"
            "<Chromosomes>\n"
            "  <Chromosome>\n"
            "    <Name>TZPGAIndividual</Name>\n"
            "    <Genes>\n"
            "      <Bits>110</Bits>\n"
            "      <BooleanGeneValue>true</BooleanGeneValue>\n"
            "      <EnumerationGeneValue>green</EnumerationGeneValue>\n"
            "    </Genes>\n"
            "  </Chromosome>\n"
            "  <Chromosome>\n"
            "    <Name>Eve</Name>\n"
            "    <Genes>\n"
            "      <Bits>001</Bits>\n"
            "      <BooleanGeneValue>false</BooleanGeneValue>\n"
            "      <EnumerationGeneValue>blue</EnumerationGeneValue>\n"
            "    </Genes>\n"
            "  </Chromosome>\n"
            "</Chromosomes>\n");
}

TEST(GADocuments, AFreeStandingPopulationWritesNoGeneValues) {
  TZPGAPopulation pop;
  pop.Add().Bits().SetBitText(0, 2, "10");
  std::ostringstream out;
  SaveToStream(pop, out);
  EXPECT_EQ(out.str(),
            "<?xml version=\"1.0\"?>\n<Chromosomes>\n  <Chromosome>\n    <Name>TZPGAIndividual</Name>\n"
            "    <Genes>\n      <Bits>10</Bits>\n    </Genes>\n  </Chromosome>\n</Chromosomes>\n");
}

TEST(GADocuments, LoadAppliesSettersInOrderAndWritesTheResult) {
  std::istringstream in(R"(<GeneticAlgorithm>
  <DiversityLimit>0.5</DiversityLimit>
  <FitnessCutoff>28</FitnessCutoff>
  <FitnessMethod>FMMAXIMIZE</FitnessMethod>
  <Generation>12</Generation>
  <UseDiversityLimit>1</UseDiversityLimit>
  <UseFitnessCutoff>TRUE</UseFitnessCutoff>
  <Reproduction>
    <CrossoverMethod>cmbyteboundary</CrossoverMethod>
    <CrossoverProbability>1.5</CrossoverProbability>
    <InversionProbability>0.25</InversionProbability>
    <MutationProbability>0.0416666666666667</MutationProbability>
    <SelectionMethod><Method>smElitist</Method><ElitistPercent>0.2</ElitistPercent><TournamentField>1</TournamentField></SelectionMethod>
  </Reproduction>
  <Domain>
    <GenoType>
      <IntegerGene><Name>Col 0</Name><Size>3</Size><MinValue>5</MinValue><MaxValue>100</MaxValue></IntegerGene>
    </GenoType>
    <Chromosomes>
      <Chromosome><Name>A</Name><Genes><Bits>10110</Bits><IntegerGeneValue>999</IntegerGeneValue></Genes></Chromosome>
      <Chromosome><Genes><Bits>1</Bits></Genes></Chromosome>
    </Chromosomes>
  </Domain>
</GeneticAlgorithm>)");
  TZPGeneticAlgorithm ga;
  LoadFromStream(ga, in);
  // 1.5 and a field of 1 are ignored by their setters; the gene range is
  // recomputed when the type is set; the chromosomes are cut and padded to 3 bits.
  EXPECT_EQ(Text(ga),
            "<?xml version=\"1.0\"?>\n"
            "<GeneticAlgorithm>\n"
            "  <DiversityLimit>0.5</DiversityLimit>\n"
            "  <FitnessCutoff>28</FitnessCutoff>\n"
            "  <FitnessMethod>fmMaximize</FitnessMethod>\n"
            "  <Generation>12</Generation>\n"
            "  <UseDiversityLimit>true</UseDiversityLimit>\n"
            "  <UseFitnessCutoff>true</UseFitnessCutoff>\n"
            "  <Reproduction>\n"
            "    <CrossoverMethod>cmByteBoundary</CrossoverMethod>\n"
            "    <CrossoverProbability>0.980000019073486</CrossoverProbability>\n"
            "    <InversionProbability>0.25</InversionProbability>\n"
            "    <MutationProbability>0.0416666679084301</MutationProbability>\n"
            "    <SelectionMethod>\n"
            "      <Method>smElitist</Method>\n"
            "      <ElitistPercent>0.200000002980232</ElitistPercent>\n"
            "      <TournamentField>2</TournamentField>\n"
            "    </SelectionMethod>\n"
            "  </Reproduction>\n"
            "  <Domain>\n"
            "    <GenoType Size=\"3\">\n"
            "      <IntegerGene>\n"
            "        <Name>Col 0</Name>\n"
            "        <Size>3</Size>\n"
            "        <MinValue>0</MinValue>\n"
            "        <MaxValue>7</MaxValue>\n"
            "        <PreserveSignBit>false</PreserveSignBit>\n"
            "      </IntegerGene>\n"
            "    </GenoType>\n"
            "    <Chromosomes>\n"
            "      <Chromosome>\n"
            "        <Name>A</Name>\n"
            "        <Genes>\n"
            "          <Bits>101</Bits>\n"
            "          <IntegerGeneValue>5</IntegerGeneValue>\n"
            "        </Genes>\n"
            "      </Chromosome>\n"
            "      <Chromosome>\n"
            "        <Name>TZPGAIndividual</Name>\n"
            "        <Genes>\n"
            "          <Bits>100</Bits>\n"
            "          <IntegerGeneValue>1</IntegerGeneValue>\n"
            "        </Genes>\n"
            "      </Chromosome>\n"
            "    </Chromosomes>\n"
            "  </Domain>\n"
            "</GeneticAlgorithm>\n");
  // The selection setter installed the elitist routine.
  EXPECT_EQ(ga.SelectionMethod(), TGASelectionMethod::smElitist);
  EXPECT_TRUE(static_cast<bool>(ga.OnSelection()));
}

TEST(GADocuments, GenotypeWithoutSizeResetsGeneSizeAndGrowsItBack) {
  const auto ga = MakeQueens();
  const TXMLGenoType geno =
      BindGenoTypeDocument(TXMLDocument::Parse("<GenoType><IntegerGene><Name>x</Name><Size>3</Size></IntegerGene>"
                                               "<BooleanGene><Name>y</Name><Size>2</Size></BooleanGene></GenoType>"));
  LoadFromXML(ga->Genes(), geno);
  EXPECT_EQ(ga->GeneSize(), 5);
  EXPECT_EQ(ga->Genes().Items(1).Offset(), 3);
  EXPECT_EQ(ga->Genes().Items(1).GeneType(), TGeneType::gtBoolean);
  // Cut to nothing first, so every chromosome comes back clear.
  for (int i = 0; i < ga->Population().Count(); ++i) EXPECT_EQ(ga->Population().Items(i).Bits().BitString(), "00000");
  EXPECT_EQ(ga->Population().Count(), 32);
}

TEST(GADocuments, GenotypeSizeAttributeAboveTheGenesIsKept) {
  TZPGeneticAlgorithm ga;
  LoadFromXML(ga.Genes(), BindGenoTypeDocument(
                              TXMLDocument::Parse("<GenoType Size='10'><IntegerGene><Name>x</Name><Size>3</Size>"
                                                  "<PreserveSignBit>TRUE</PreserveSignBit></IntegerGene></GenoType>")));
  EXPECT_EQ(ga.GeneSize(), 10);
  EXPECT_EQ(ga.Genes().Items(0).MinValue(), -4);
  EXPECT_EQ(ga.Genes().Items(0).MaxValue(), 3);
}

TEST(GADocuments, EnumerationGeneTakesItsSizeFromItsEntries) {
  TZPGeneticAlgorithm ga;
  LoadFromXML(ga.Genes(),
              BindGenoTypeDocument(TXMLDocument::Parse("<GenoType><EnumerationGene><Name>c</Name><Size>9</Size>"
                                                       "<Enumeration>a</Enumeration><Enumeration>b</Enumeration>"
                                                       "<Enumeration>c</Enumeration><Enumeration>d</Enumeration>"
                                                       "</EnumerationGene></GenoType>")));
  const TZPGAGene& g = ga.Genes().Items(0);
  EXPECT_EQ(g.Size(), 3);  // four entries take three bits
  EXPECT_EQ(g.Enumerations().Count(), 4);
  EXPECT_EQ(ga.GeneSize(), 9);  // grown while the gene was 9 bits wide; never shrinks
}

TEST(GADocuments, PopulationLoadReplacesIndividualsAndEmptyDocumentEmptiesIt) {
  const auto ga = MakeQueens();
  LoadFromXML(ga->Population(), BindChromosomesDocument(TXMLDocument::Parse(
                                    "<Chromosomes><Chromosome><Name>n</Name><Genes><Bits>111</Bits></Genes>"
                                    "</Chromosome><Other/></Chromosomes>")));
  ASSERT_EQ(ga->Population().Count(), 1);
  EXPECT_EQ(ga->Population().Items(0).Bits().BitString(), "111000000000000000000000");
  EXPECT_EQ(ga->Population().Items(0).Name(), "n");
  EXPECT_EQ(ga->FittestIndividual(), nullptr);
  LoadFromXML(ga->Population(), NewChromosomesDocument());
  EXPECT_EQ(ga->Population().Count(), 0);
}

TEST(GADocuments, IndividualLoadReadsOverItsOwnLength) {
  TZPGAIndividual ind;
  ind.Bits().SetSize(4);
  const TXMLChromosome node = NewChromosomesDocument().Chromosome().Add();
  node.SetName("solo");
  node.Genes().SetBits("11x");
  EXPECT_EQ(MessageOf([&] { LoadFromXML(ind, node); }), "Invalid Bit String Input");
  EXPECT_EQ(ind.Bits().BitString(), "0000");
  EXPECT_EQ(ind.Name(), "");
  node.Genes().SetBits("11011x");  // past the length: ignored
  LoadFromXML(ind, node);
  EXPECT_EQ(ind.Bits().BitString(), "1101");
  EXPECT_EQ(ind.Name(), "solo");
}

TEST(GADocuments, GenerationNeedsAValue) {
  TZPGeneticAlgorithm ga;
  std::ostringstream out;
  SaveToStream(ga, out);
  std::string text = out.str();
  text.replace(text.find("<Generation>0</Generation>"), 26, "<Generation>12</Generation>");
  std::istringstream twelve(text);
  LoadFromStream(ga, twelve);
  EXPECT_EQ(ga.Generation(), 12);
  text.replace(text.find("<Generation>12</Generation>"), 27, "<Generation/>");
  std::istringstream empty(text);
  EXPECT_EQ(MessageOf([&] { LoadFromStream(ga, empty); }),
            "Could not convert variant of type (Null) into type (Integer)");
  EXPECT_EQ(ga.Generation(), 12);
}

TEST(GADocuments, LoadingADocumentOfAnotherKindIsInterfaceNotSupported) {
  const auto ga = MakeQueens();
  const std::string file = TempFile("queens_genotype.xml");
  SaveGenoTypeFile(ga->Genes(), file);
  EXPECT_EQ(MessageOf([&] { LoadPopulationFile(ga->Population(), file); }), "Interface not supported");
  EXPECT_EQ(MessageOf([&] { LoadAlgorithmFile(*ga, file); }), "Interface not supported");
  EXPECT_EQ(ga->Population().Count(), 32);
  LoadGenoTypeFile(ga->Genes(), file);
  EXPECT_EQ(ga->Genes().Count(), 8);
  const std::string pop_file = TempFile("queens_population.xml");
  SavePopulationFile(ga->Population(), pop_file);
  const std::string before = Text(*ga);
  LoadPopulationFile(ga->Population(), pop_file);
  EXPECT_EQ(Text(*ga), before);
}
