#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "TestComponents.h"
#include "persistence/XMLErrors.h"
#include "persistence/XMLValues.h"
#include "persistence/ZPGADomainXML.h"
#include "persistence/ZPGeneticAlgorithmXML.h"

using namespace zp;
using namespace zp::xml;
using namespace zp::xml::testing;

TEST(XMLValues, WritesEachTypeInItsTextForm) {
  EXPECT_EQ(IntegerText(-12), "-12");
  EXPECT_EQ(BooleanText(true), "true");
  EXPECT_EQ(BooleanText(false), "false");
  EXPECT_EQ(SingleText(0.98), "0.980000019073486");
  EXPECT_EQ(SingleText(0.1), "0.100000001490116");
  EXPECT_EQ(SingleText(0.02), "0.0199999995529652");
  EXPECT_EQ(SingleText(28), "28");
  EXPECT_EQ(DoubleText(1.0 / 24.0), "0.0416666666666667");
  EXPECT_EQ(DoubleText(1e20), "1E20");
}

TEST(XMLValues, ReadsWhatItWritesAndTheLenientForms) {
  EXPECT_EQ(ReadInteger("12"), 12);
  EXPECT_EQ(ReadInteger(" -7\n"), -7);
  EXPECT_EQ(ReadInteger(""), std::nullopt);
  EXPECT_EQ(ReadSingle("0.980000019073486"), static_cast<double>(0.98f));
  EXPECT_EQ(ReadSingle("0.98"), static_cast<double>(0.98f));
  EXPECT_EQ(ReadDouble("5E-5"), 5e-5);
  EXPECT_EQ(ReadDouble("-.5"), -0.5);
  EXPECT_EQ(ReadDouble("INF"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(ReadBoolean("TRUE"), true);
  EXPECT_EQ(ReadBoolean("False"), false);
  EXPECT_EQ(ReadBoolean("0"), false);
  EXPECT_EQ(ReadBoolean("-3"), true);
  EXPECT_EQ(ReadBoolean(""), std::nullopt);
}

TEST(XMLValues, TextOfAnotherTypeRaisesTheConversionError) {
  EXPECT_EQ(MessageOf([] { (void)ReadInteger("12.5"); }),
            "Could not convert variant of type (UnicodeString) into type (Integer)");
  EXPECT_EQ(MessageOf([] { (void)ReadInteger("99999999999"); }),
            "Could not convert variant of type (UnicodeString) into type (Integer)");
  EXPECT_EQ(MessageOf([] { (void)ReadSingle("0,5"); }),
            "Could not convert variant of type (UnicodeString) into type (Single)");
  EXPECT_EQ(MessageOf([] { (void)ReadDouble("0x10"); }),
            "Could not convert variant of type (UnicodeString) into type (Double)");
  EXPECT_EQ(MessageOf([] { (void)ReadBoolean("yes"); }),
            "Could not convert variant of type (UnicodeString) into type (Boolean)");
  EXPECT_EQ(MessageOf([] { RequiredInteger(std::nullopt); }),
            "Could not convert variant of type (Null) into type (Integer)");
  EXPECT_THROW((void)ReadDouble("1e999"), EVariantTypeCastError);
  EXPECT_THROW((void)ReadDouble("1e"), EConvertError);
}

TEST(XMLValues, IsXMLTextRefusesWhatXMLCannotCarry) {
  EXPECT_TRUE(IsXMLText("Col 0 \xC3\xA9\xE2\x82\xAC\t\n"));
  EXPECT_FALSE(IsXMLText(std::string("a\0b", 3)));
  EXPECT_FALSE(IsXMLText("\x01"));
  EXPECT_FALSE(IsXMLText("\xC3"));          // cut sequence
  EXPECT_FALSE(IsXMLText("\xC0\x80"));      // overlong
  EXPECT_FALSE(IsXMLText("\xED\xA0\x80"));  // surrogate
  EXPECT_FALSE(IsXMLText("\xEF\xBF\xBF"));  // U+FFFF
}

TEST(TXMLGeneticAlgorithm, ReadsChildrenByNameAndAbsentValuesAsNone) {
  const TXMLGeneticAlgorithm ga = BindGeneticAlgorithmDocument(TXMLDocument::Parse(
      "<GeneticAlgorithm><Generation>12</Generation><FitnessMethod>FMMAXIMIZE</FitnessMethod>"
      "<Generation>99</Generation><UseFitnessCutoff/>"
      "<Reproduction><SelectionMethod><TournamentField>3</TournamentField></SelectionMethod></Reproduction>"
      "</GeneticAlgorithm>"));
  EXPECT_EQ(ga.Generation(), 12);  // the first of that name counts
  EXPECT_EQ(ga.FitnessMethod(), "FMMAXIMIZE");
  EXPECT_EQ(ga.UseFitnessCutoff(), std::nullopt);
  EXPECT_EQ(ga.DiversityLimit(), std::nullopt);
  EXPECT_EQ(ga.Reproduction().CrossoverMethod(), "");
  EXPECT_EQ(ga.Reproduction().SelectionMethod().TournamentField(), 3);
}

TEST(TXMLGeneticAlgorithm, NewDocumentWritesDeclarationAndIndentedElements) {
  const TXMLGeneticAlgorithm ga = NewGeneticAlgorithmDocument();
  ga.SetGeneration(3);
  ga.Reproduction().SetMutationProbability(0.5);
  ga.SetGeneration(4);  // replaces the text, no second element
  EXPECT_EQ(ga.OwnerDocument().XML(),
            "<?xml version=\"1.0\"?>\n"
            "<GeneticAlgorithm>\n"
            "  <Generation>4</Generation>\n"
            "  <Reproduction>\n"
            "    <MutationProbability>0.5</MutationProbability>\n"
            "  </Reproduction>\n"
            "</GeneticAlgorithm>\n");
}

TEST(TXMLDocument, BindingAnotherRootIsInterfaceNotSupported) {
  const TXMLDocument geno = NewGenoTypeDocument().OwnerDocument();
  EXPECT_EQ(MessageOf([&] { BindGeneticAlgorithmDocument(geno); }), "Interface not supported");
  EXPECT_EQ(MessageOf([&] { BindChromosomesDocument(geno); }), "Interface not supported");
  EXPECT_THROW(BindGenoTypeDocument(TXMLDocument()), EIntfCastError);
  EXPECT_NO_THROW(BindGenoTypeDocument(geno));
  // The error names the root it found, for a hint at the command that reads it.
  try {
    BindChromosomesDocument(geno);
    ADD_FAILURE();
  } catch (const EIntfCastError& e) {
    EXPECT_EQ(e.FoundRoot(), "GenoType");
  }
}

TEST(TXMLDocument, ParseErrorsGiveTheParserMessageThePositionAndTheFile) {
  EXPECT_EQ(MessageOf([] { TXMLDocument::Parse("<GenoType><A></GenoType>"); }), "Start-end tags mismatch at offset 15");
  const std::string file = ::testing::TempDir() + "bad_document.xml";
  std::ofstream(file) << "<GenoType>";
  EXPECT_EQ(MessageOf([&] { LoadGenoTypeDocument(file); }), file + ": Start-end tags mismatch at offset 9");
  const std::string missing = ::testing::TempDir() + "no_such_document.xml";
  EXPECT_EQ(MessageOf([&] { LoadGenoTypeDocument(missing); }),
            missing + ": cannot open the file (No such file or directory)");
  std::ofstream(file, std::ios::trunc).flush();
  EXPECT_EQ(MessageOf([&] { LoadChromosomesDocument(file); }),
            file + ": not an XML document (No document element found at offset 0)");
}

TEST(TXMLDocument, LoadFromStreamReplacesTheContentOnlyWhenItParses) {
  TXMLDocument doc = NewGeneticAlgorithmDocument().OwnerDocument();
  std::istringstream bad("<Chromosomes>");
  EXPECT_THROW(doc.LoadFromStream(bad), EXMLDocError);
  EXPECT_NO_THROW(BindGeneticAlgorithmDocument(doc));
  // Only UTF-8 is read: what loads must be writable again, and the writer writes UTF-8.
  std::istringstream latin(
      "<?xml version=\"1.0\" "
      "encoding=\"ISO-8859-1\"?><Chromosomes><Chromosome><Name>\xE9</Name></Chromosome></Chromosomes>");
  EXPECT_THROW(doc.LoadFromStream(latin), EXMLDocError);
  EXPECT_NO_THROW(BindGeneticAlgorithmDocument(doc));
  std::istringstream good(
      "<?xml version=\"1.0\" "
      "encoding=\"UTF-8\"?><Chromosomes><Chromosome><Name>\xC3\xA9</Name></Chromosome></Chromosomes>");
  doc.LoadFromStream(good);
  EXPECT_EQ(BindChromosomesDocument(doc).Chromosome().Items(0).Name(), "\xC3\xA9");
}

TEST(TXMLGenoType, GenesInterleaveAndAreReadInDocumentOrder) {
  const TXMLGenoType geno = NewGenoTypeDocument();
  geno.IntegerGene().Add().SetName("a");
  geno.BooleanGene().Add().SetName("b");
  const TXMLEnumerationGeneType e = geno.EnumerationGene().Add();
  e.SetName("c");
  e.Enumeration().Add("red");
  e.Enumeration().Add("green");
  geno.IntegerGene().Add().SetName("d");
  const std::vector<TXMLGeneType> genes = geno.Genes();
  ASSERT_EQ(genes.size(), 4u);
  EXPECT_EQ(genes[0].Kind(), TXMLGeneKind::Integer);
  EXPECT_EQ(genes[1].Kind(), TXMLGeneKind::Boolean);
  EXPECT_EQ(genes[2].AsEnumeration().Enumeration().Items(1), "green");
  EXPECT_EQ(genes[3].Name(), "d");
  EXPECT_EQ(geno.IntegerGene().Count(), 2);
  EXPECT_THROW(genes[1].AsNumeric(), EIntfCastError);
  EXPECT_THROW(geno.IntegerGene().Items(2), EListError);
  EXPECT_EQ(geno.Size(), std::nullopt);
}

TEST(TXMLGenoType, AChildThatIsNoGeneIsInterfaceNotSupported) {
  for (const char* child : {"<Gene/>", "<!-- note -->", "<?pi x?>", "text"}) {
    const TXMLGenoType geno =
        BindGenoTypeDocument(TXMLDocument::Parse(std::string("<GenoType><BooleanGene/>") + child + "</GenoType>"));
    EXPECT_EQ(MessageOf([&] { geno.Genes(); }), "Interface not supported") << child;
  }
}

TEST(TXMLGenes, ValueListsKeepTheirTypes) {
  const TXMLChromosome c = NewChromosomesDocument().Chromosome().Add();
  TXMLGenes genes = c.Genes();
  genes.SetBits("0101");
  TXMLFloatList floats = genes.FloatGeneValue();
  floats.Add(0.1);
  genes.IntegerGeneValue().Add(-3);
  EXPECT_EQ(genes.Bits(), "0101");
  EXPECT_EQ(genes.FloatGeneValue().Items(0), static_cast<double>(0.1f));
  EXPECT_EQ(genes.IntegerGeneValue().Items(0), -3);
  EXPECT_EQ(c.Genes().Node(), genes.Node());  // found, not created twice
}

TEST(TXMLNode, WritingTextXMLCannotCarryIsRefused) {
  const TXMLChromosome c = NewChromosomesDocument().Chromosome().Add();
  EXPECT_THROW(c.SetName("bad\x01name"), EGADocumentError);
  EXPECT_THROW(c.SetName("\xFF"), EGADocumentError);
  c.SetName("a < b & \"c\"");
  EXPECT_NE(c.OwnerDocument().XML().find("<Name>a &lt; b &amp; \"c\"</Name>"), std::string::npos);
}
