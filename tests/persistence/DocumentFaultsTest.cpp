#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestComponents.h"

using namespace zp;
using namespace zp::ga;
using namespace zp::xml;
using namespace zp::xml::testing;

namespace {}  // namespace

TEST(GADocumentFaults, FailedSaveKeepsTheOldFileByteForByte) {
  const std::filesystem::path dir = FreshFolder("failed_save");
  const std::string file = (dir / "ga.xml").string();
  const auto good = MakeQueens();
  SaveAlgorithmFile(*good, file);
  const std::string old_text = ReadFile(file);

  // An enumeration gene whose bits hold index 3 of a three-entry list cannot be written.
  TZPGeneticAlgorithm bad;
  TZPGAGene& colour = bad.Genes().Add();
  colour.SetGeneType(TGeneType::gtEnumeration);
  for (const char* c : {"red", "green", "blue"}) colour.MutableEnumerations().Add(c);
  bad.Population().Add().Bits().SetBitText(0, 2, "11");
  EXPECT_EQ(MessageOf([&] { SaveAlgorithmFile(bad, file); }), "No enumerated value found in chromosome");
  EXPECT_EQ(MessageOf([&] { SavePopulationFile(bad.Population(), file); }), "No enumerated value found in chromosome");
  EXPECT_EQ(ReadFile(file), old_text);
  // Nothing is left behind in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
}

TEST(GADocumentFaults, SaveReplacesAnExistingFileAndNamesTheFileOnFailure) {
  const std::filesystem::path dir = FreshFolder("replace_save");
  const std::string file = (dir / "ga.xml").string();
  std::ofstream(file) << "old content that is much longer than nothing";
  TZPGeneticAlgorithm ga;
  SaveGenoTypeFile(ga.Genes(), file);
  EXPECT_EQ(ReadFile(file), "<?xml version=\"1.0\"?>\n<GenoType Size=\"0\" />\n");
  const std::string nowhere = (dir / "missing" / "ga.xml").string();
  EXPECT_EQ(MessageOf([&] { SaveAlgorithmFile(ga, nowhere); }),
            nowhere + ": cannot create a temporary file next to it (No such file or directory)");
  EXPECT_THROW(SaveAlgorithmFile(ga, dir.string()), EXMLDocError);  // a folder is no file
  EXPECT_TRUE(std::filesystem::is_directory(dir));
}

TEST(GADocumentFaults, FailedLoadChangesNothing) {
  const auto ga = MakeQueens();
  const std::string good = Text(*ga);
  struct Case {
    std::string from, to, message;
  };
  const std::string limit = std::to_string(kMaxDocumentBits);
  const std::vector<Case> cases = {
      {"<Generation>3</Generation>", "<Generation></Generation>",
       "Could not convert variant of type (Null) into type (Integer)"},
      {"<TournamentField>3</TournamentField>", "<TournamentField>three</TournamentField>",
       "Could not convert variant of type (UnicodeString) into type (Integer)"},
      {"<FitnessMethod>fmMaximize</FitnessMethod>", "<FitnessMethod>fmSometimes</FitnessMethod>",
       "\"fmSometimes\" is not a valid FitnessMethod (one of fmMinimize, fmMaximize)"},
      {"<Method>smTournament</Method>", "<Method></Method>",
       "\"\" is not a valid SelectionMethod (one of smRoulette, smRandom, smTournament, smStochasticTournament, "
       "smElitist, smCustom)"},
      {"<CrossoverMethod>cmBitBoundary</CrossoverMethod>", "",
       "\"\" is not a valid CrossoverMethod (one of cmGeneBoundary, cmBitBoundary, cmByteBoundary, cmWordBoundary, "
       "cmLongwordBoundary)"},
      {"<GenoType Size=\"24\">", "<GenoType Size=\"2000000\">",
       "GenoType Size 2000000 is out of range (0 to " + limit + " bits)"},
      {"<GenoType Size=\"24\">", "<GenoType Size=\"-1\">",
       "GenoType Size -1 is out of range (0 to " + limit + " bits)"},
      {"<Size>3</Size>", "<Size>2000000</Size>",
       "Size 2000000 of gene \"Col 0\" is out of range (0 to " + limit + " bits)"},
      {"<MaxValue>7</MaxValue>", "<MaxValue>seven</MaxValue>",
       "Could not convert variant of type (UnicodeString) into type (Double)"},
      {"</GenoType>", "<!-- a note --></GenoType>", "Interface not supported"},
      {"</Chromosomes>", "<Chromosome><Genes><Bits>0101x</Bits></Genes></Chromosome></Chromosomes>",
       "Invalid Bit String Input"},
  };
  for (const Case& c : cases) {
    std::istringstream in(Replaced(good, c.from, c.to));
    EXPECT_EQ(MessageOf([&] { LoadFromStream(*ga, in); }), c.message) << c.to;
    EXPECT_EQ(Text(*ga), good) << c.to;
  }
  EXPECT_EQ(ga->GeneSize(), 24);
}

TEST(GADocumentFaults, FailedGenotypeAndPopulationLoadsChangeNothing) {
  const auto ga = MakeQueens();
  const std::string good = Text(*ga);
  // A bad last gene: the genotype load would have resized every chromosome first.
  const TXMLGenoType geno = BindGenoTypeDocument(
      TXMLDocument::Parse("<GenoType Size='4'><BooleanGene><Name>a</Name><Size>1</Size></BooleanGene>"
                          "<FloatGene><Name>b</Name></FloatGene></GenoType>"));
  EXPECT_EQ(MessageOf([&] { LoadFromXML(ga->Genes(), geno); }),
            "Could not convert variant of type (Null) into type (Integer)");
  const TXMLChromosomes pop = BindChromosomesDocument(
      TXMLDocument::Parse("<Chromosomes><Chromosome><Genes><Bits>1</Bits></Genes></Chromosome>"
                          "<Chromosome><Genes><Bits>2</Bits></Genes></Chromosome></Chromosomes>"));
  EXPECT_EQ(MessageOf([&] { LoadFromXML(ga->Population(), pop); }), "Invalid Bit String Input");
  EXPECT_EQ(Text(*ga), good);
}

TEST(GADocumentFaults, DocumentsCannotAskForUnboundedMemory) {
  TZPGeneticAlgorithm ga;
  // Many genes of the largest width add up past the limit.
  std::string genes = "<GenoType>";
  for (int i = 0; i < 3; ++i)
    genes += "<BooleanGene><Size>" + std::to_string(kMaxDocumentBits / 2) + "</Size></BooleanGene>";
  genes += "</GenoType>";
  EXPECT_EQ(MessageOf([&] { LoadFromXML(ga.Genes(), BindGenoTypeDocument(TXMLDocument::Parse(genes))); }),
            "The genes of GenoType need more than " + std::to_string(kMaxDocumentBits) + " bits");
  // A short document of many empty chromosomes of the widest genotype.
  std::string doc = Text(ga);
  std::string many;
  for (int i = 0; i < 17; ++i) many += "<Chromosome/>";
  doc = Replaced(doc, "<GenoType Size=\"0\" />", "<GenoType Size=\"" + std::to_string(kMaxDocumentBits) + "\"/>");
  doc = Replaced(doc, "<Chromosomes />", "<Chromosomes>" + many + "</Chromosomes>");
  std::istringstream in(doc);
  EXPECT_EQ(MessageOf([&] { LoadFromStream(ga, in); }),
            "17 chromosomes of 1048576 bits pass the limit of 16777216 bits in a population");
  EXPECT_EQ(ga.Population().Count(), 0);
  EXPECT_EQ(ga.GeneSize(), 0);
  // The limit itself is accepted.
  std::istringstream wide(Replaced(doc, many, "<Chromosome/>"));
  LoadFromStream(ga, wide);
  EXPECT_EQ(ga.Population().Items(0).Bits().Size(), kMaxDocumentBits);
}

TEST(GADocumentFaults, WrittenDocumentsAreWellFormedForAnyReader) {
  const auto ga = MakeQueens();
  ga->Genes().Items(0).SetName("Caf\xC3\xA9 <&> \"col\"");
  ga->Population().Items(0).SetName("\xE2\x82\xAC");
  const std::filesystem::path dir = FreshFolder("well_formed");
  const std::string files[] = {(dir / "ga.xml").string(), (dir / "geno.xml").string(), (dir / "pop.xml").string()};
  SaveAlgorithmFile(*ga, files[0]);
  SaveGenoTypeFile(ga->Genes(), files[1]);
  SavePopulationFile(ga->Population(), files[2]);
  for (const std::string& f : files) {
    const std::string text = ReadFile(f);
    EXPECT_EQ(text.rfind("<?xml version=\"1.0\"?>\n<", 0), 0u) << f;
    EXPECT_TRUE(IsXMLText(text)) << f;
    EXPECT_NE(text.find("\n  <"), std::string::npos) << f;  // indented
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_string(text.c_str())) << f;
  }
  TZPGeneticAlgorithm loaded;
  LoadAlgorithmFile(loaded, files[0]);
  EXPECT_EQ(loaded.Genes().Items(0).Name(), "Caf\xC3\xA9 <&> \"col\"");
  EXPECT_EQ(loaded.Population().Items(0).Name(), "\xE2\x82\xAC");

  if (std::system("command -v xmllint >/dev/null 2>&1") != 0) GTEST_SKIP() << "xmllint is not installed";
  for (const std::string& f : files) EXPECT_EQ(std::system(("xmllint --noout '" + f + "'").c_str()), 0) << f;
}
