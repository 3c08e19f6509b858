// Loads refuse what a save could not write again: other encodings, bytes that
// are no UTF-8, characters XML cannot carry, values that are not plain text,
// and settings the engine cannot run with.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "TestComponents.h"
#include "persistence/SavedSize.h"

using namespace zp;
using namespace zp::ga;
using namespace zp::xml;
using namespace zp::xml::testing;

namespace {

struct RefusedCase {
  std::string from, to, message;
};

// Each case: the load refuses with the message, the component keeps its
// document byte for byte, and a save still works afterwards.
void ExpectRefused(TZPCustomGeneticAlgorithm& ga, const std::string& good, const std::vector<RefusedCase>& cases) {
  for (const RefusedCase& c : cases) {
    std::istringstream in(Replaced(good, c.from, c.to));
    EXPECT_EQ(MessageOf([&] { LoadFromStream(ga, in); }), c.message) << c.to;
    EXPECT_EQ(Text(ga), good) << c.to;
  }
}

}  // namespace

TEST(GADocumentText, LoadRefusesEncodingsOtherThanUTF8) {
  const auto ga = MakeQueens();
  const std::string good = Text(*ga);
  const std::string decl = "<?xml version=\"1.0\"?>";
  const std::string only = " (only UTF-8 is supported)";
  ExpectRefused(*ga, good,
                {
                    {decl, "<?xml version=\"1.0\" encoding=\"windows-1252\"?>",
                     "the declared encoding \"windows-1252\" is not supported" + only},
                    {decl, "<?xml version='1.0' encoding='ISO-8859-1'?>",
                     "the declared encoding \"ISO-8859-1\" is not supported" + only},
                    {decl, "<?xml version=\"1.0\" encoding=\"US-ASCII\"?>",
                     "the declared encoding \"US-ASCII\" is not supported" + only},
                    {decl, "\xFF\xFE", "the document starts with a UTF-16 byte-order mark" + only},
                    {decl, "\xFE\xFF" + decl, "the document starts with a UTF-16 byte-order mark" + only},
                    // Undeclared Latin-1: "Col \xE9" at the first gene's name.
                    {"<Name>Col 0</Name>", "<Name>Col \xE9</Name>",
                     "the bytes at offset " + std::to_string(good.find("Col 0") + 4) + " are no UTF-8" + only},
                });
  // UTF-8 in any letter case, with or without a byte-order mark, loads.
  for (const std::string& head : {std::string("<?xml version=\"1.0\" encoding=\"utf-8\"?>"),
                                  std::string("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?>")}) {
    TZPGeneticAlgorithm copy;
    std::istringstream in(Replaced(good, decl, head));
    LoadFromStream(copy, in);
    EXPECT_EQ(Text(copy), good);
  }
}

TEST(GADocumentText, LoadRefusesCharactersXMLCannotCarry) {
  const auto ga = MakeQueens();
  const std::string good = Text(*ga);
  const std::string at = std::to_string(good.find("Col 0") + 4);
  const auto ref = [&](const std::string& r) {
    return RefusedCase{
        "<Name>Col 0</Name>", "<Name>Col " + r + "</Name>",
        "the character reference " + r + " at offset " + at + " names a character an XML document cannot carry"};
  };
  ExpectRefused(*ga, good,
                {
                    ref("&#1;"),
                    ref("&#0;"),
                    ref("&#xDC00;"),
                    ref("&#xFFFE;"),
                    ref("&#xffff;"),
                    ref("&#1114112;"),
                    {"<Name>Col 0</Name>", "<Name>Col \x01</Name>",
                     "the character at offset " + at + " cannot stand in an XML document"},
                    {"<Name>Col 0</Name>", "<Name>Col \xEF\xBF\xBE</Name>",
                     "the character at offset " + at + " cannot stand in an XML document"},
                });
  // Inside a comment a reference is plain text; other references are characters.
  TZPGeneticAlgorithm copy;
  std::istringstream in(Replaced(Replaced(good, "<Domain>", "<!-- &#0; --><Domain>"), "Col 0<", "Col &#233;&#x9;<"));
  LoadFromStream(copy, in);
  EXPECT_EQ(copy.Genes().Items(0).Name(), "Col \xC3\xA9\t");
}

TEST(GADocumentText, NamesAndEntriesAreCheckedAsASaveChecksThem) {
  // A document built in memory can hold any text: the load checks names and entries itself.
  const TXMLGenoType geno = NewGenoTypeDocument();
  pugi::xml_node gene = geno.Node().append_child("EnumerationGene");
  gene.append_child("Name").text().set("colour");
  gene.append_child("Size").text().set("2");
  gene.append_child("Enumeration").text().set("re\x01d");
  TZPGeneticAlgorithm ga;
  EXPECT_EQ(MessageOf([&] { LoadFromXML(ga.Genes(), geno); }),
            "The text of Enumeration holds a character an XML document cannot carry");
  gene.child("Enumeration").text().set("red");
  gene.child("Name").text().set("\xFF");
  EXPECT_EQ(MessageOf([&] { LoadFromXML(ga.Genes(), geno); }),
            "The text of Name holds a character an XML document cannot carry");
  EXPECT_EQ(ga.Genes().Count(), 0);
}

TEST(GADocumentText, CarriageReturnsInNamesReadBackAsThemselves) {
  const auto ga = MakeQueens();
  ga->Genes().Items(0).SetName("a\rb\r\nc");
  const std::string text = Text(*ga);
  EXPECT_NE(text.find("<Name>a&#13;b&#13;\nc</Name>"), std::string::npos);
  TZPGeneticAlgorithm copy;
  std::istringstream in(text);
  LoadFromStream(copy, in);
  EXPECT_EQ(copy.Genes().Items(0).Name(), "a\rb\r\nc");
}

TEST(GADocumentText, NamesOfBlanksAloneReadBackAsThemselves) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {" ", "&#32;"}, {"\t\n", "&#9;&#10;"}, {" \r ", "&#32;&#13;&#32;"}, {"\n\n", "&#10;&#10;"}};
  for (const auto& [name, written] : cases) {
    const auto ga = MakeQueens();
    ga->Genes().Items(0).SetName(name);
    ga->Population().Items(1).SetName(name);
    const std::string text = Text(*ga);
    EXPECT_NE(text.find("<Name>" + written + "</Name>"), std::string::npos) << written;
    EXPECT_EQ(SavedTextLength(name), static_cast<int64_t>(written.size())) << written;
    TZPGeneticAlgorithm copy;
    std::istringstream in(text);
    LoadFromStream(copy, in);
    EXPECT_EQ(copy.Genes().Items(0).Name(), name);
    EXPECT_EQ(copy.Population().Items(1).Name(), name);
    EXPECT_EQ(Text(copy), text);
  }
}

TEST(GADocumentText, ValueElementsHoldPlainTextOnly) {
  const auto ga = MakeQueens();
  const std::string good = Text(*ga);
  const std::string bits = "<Bits>" + ga->Population().Items(0).Bits().BitString() + "</Bits>";
  const std::string cut = "<Bits>" + ga->Population().Items(0).Bits().BitString().insert(10, "<!--x-->") + "</Bits>";
  ExpectRefused(*ga, good,
                {
                    {bits, cut, "The element Bits holds a comment where only text may stand"},
                    {"<Generation>3</Generation>", "<Generation><![CDATA[3]]></Generation>",
                     "The element Generation holds a CDATA section where only text may stand"},
                    {"<Generation>3</Generation>", "<Generation>3<?pi x?></Generation>",
                     "The element Generation holds a processing instruction where only text may stand"},
                    {"<Name>Col 0</Name>", "<Name>Col <b>0</b></Name>",
                     "The element Name holds the element b where only text may stand"},
                    {"<Method>smTournament</Method>", "<Method><!-- --></Method>",
                     "The element Method holds a comment where only text may stand"},
                });
  // Blanks around a value and an empty element are as before: the blanks are
  // ignored, the empty element is no value.
  std::istringstream blanks(Replaced(good, "<Generation>3</Generation>", "<Generation>\n  3\n</Generation>"));
  LoadFromStream(*ga, blanks);
  EXPECT_EQ(ga->Generation(), 3);
  std::istringstream empty(Replaced(good, "<Generation>3</Generation>", "<Generation/>"));
  EXPECT_EQ(MessageOf([&] { LoadFromStream(*ga, empty); }),
            "Could not convert variant of type (Null) into type (Integer)");
}

TEST(GADocumentText, TournamentFieldIsBoundedOnLoadOnly) {
  const auto ga = MakeQueens();
  const std::string good = Text(*ga);
  ExpectRefused(*ga, good,
                {
                    {"<TournamentField>3</TournamentField>", "<TournamentField>2147483647</TournamentField>",
                     "TournamentField 2147483647 is out of range (at most 65536)"},
                    {"<TournamentField>3</TournamentField>", "<TournamentField>65537</TournamentField>",
                     "TournamentField 65537 is out of range (at most 65536)"},
                });
  std::istringstream in(
      Replaced(good, "<TournamentField>3</TournamentField>", "<TournamentField>65536</TournamentField>"));
  LoadFromStream(*ga, in);
  EXPECT_EQ(ga->TournamentField(), 65536);
  ga->SetTournamentField(100000);  // the setter keeps any field above 1
  EXPECT_EQ(ga->TournamentField(), 100000);
}

TEST(GADocumentText, FloatGenesAreBoundedByTheirExponentWidth) {
  const auto doc = [](int size, bool sign) {
    return "<GenoType><FloatGene><Name>f</Name><Size>" + std::to_string(size) + "</Size><PreserveSignBit>" +
           (sign ? "true" : "false") + "</PreserveSignBit></FloatGene></GenoType>";
  };
  TZPGeneticAlgorithm ga;
  const auto load = [&](int size, bool sign) {
    return MessageOf([&] { LoadFromXML(ga.Genes(), BindGenoTypeDocument(TXMLDocument::Parse(doc(size, sign)))); });
  };
  EXPECT_EQ(load(260, false),
            "Size 260 of gene \"f\" is out of range for a float gene (0 to 259 bits, 260 with PreserveSignBit)");
  EXPECT_EQ(load(261, true),
            "Size 261 of gene \"f\" is out of range for a float gene (0 to 259 bits, 260 with PreserveSignBit)");
  EXPECT_EQ(ga.Genes().Count(), 0);
  EXPECT_EQ(load(259, false), "(no error)");
  EXPECT_EQ(load(260, true), "(no error)");
  EXPECT_EQ(ga.Genes().Items(0).Size(), 260);
}

TEST(GADocumentText, FileLoadsNameTheFileAndTheReason) {
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "document_text";
  std::filesystem::create_directories(dir);
  const std::string file = (dir / "latin.xml").string();
  std::ofstream(file, std::ios::binary) << "<?xml version=\"1.0\" encoding=\"Latin1\"?>\n<GenoType/>\n";
  TZPGeneticAlgorithm ga;
  EXPECT_EQ(MessageOf([&] { LoadGenoTypeFile(ga.Genes(), file); }),
            file + ": the declared encoding \"Latin1\" is not supported (only UTF-8 is supported)");
  EXPECT_THROW(LoadGenoTypeFile(ga.Genes(), file), EXMLDocError);
}

TEST(GADocumentRoundTrip, ChromosomesLongerThanTheGenesKeepTheirLength) {
  const auto ga = MakeQueens();
  ga->SetGeneSize(30);  // the bits past the genes still take part in crossover and mutation
  const std::string text = Text(*ga);
  EXPECT_NE(text.find("<GenoType Size=\"30\">"), std::string::npos);
  TZPGeneticAlgorithm copy;
  std::istringstream in(text);
  LoadFromStream(copy, in);
  EXPECT_EQ(copy.GeneSize(), 30);
  EXPECT_EQ(copy.Population().Items(5).Bits().BitString(), ga->Population().Items(5).Bits().BitString());
  EXPECT_EQ(Text(copy), text);
}

TEST(GADocumentRoundTrip, LoadRefusesChromosomesWhoseEnumerationHoldsNoEntry) {
  // Three entries in two bits: the bits 11 name no entry, and a save could not write the value.
  TZPGeneticAlgorithm ga;
  TZPGAGene& colour = ga.Genes().Add();
  colour.SetName("colour");
  colour.SetGeneType(TGeneType::gtEnumeration);
  for (const char* c : {"red", "green", "blue"}) colour.MutableEnumerations().Add(c);
  ga.Population().Add().Bits().SetBitText(0, 2, "01");
  const std::string good = Text(ga);
  const std::string bad = Replaced(good, "<Bits>01</Bits>", "<Bits>11</Bits>");
  const std::string message = "The Bits of chromosome 0 hold no entry of the gene \"colour\"";
  std::istringstream whole(bad);
  EXPECT_EQ(MessageOf([&] { LoadFromStream(ga, whole); }), message);
  std::istringstream population(
      bad.substr(bad.find("<Chromosomes>"), bad.find("</Domain>") - bad.find("<Chromosomes>")));
  EXPECT_EQ(MessageOf([&] { LoadFromStream(ga.Population(), population); }), message);
  EXPECT_EQ(Text(ga), good);
}

TEST(GADocumentRoundTrip, GenotypeLoadRefusesGenesThePopulationHoldsNoEntryOf) {
  // The population keeps its chromosomes under a loaded genotype: chromosome 1
  // holds index 2, which names no entry of a list of two, and no index names
  // an entry of an empty list. Either way no save could write the values.
  TZPGeneticAlgorithm ga;
  TZPGAGene& colour = ga.Genes().Add();
  colour.SetName("colour");
  colour.SetGeneType(TGeneType::gtEnumeration);
  for (const char* c : {"red", "green", "blue"}) colour.MutableEnumerations().Add(c);
  colour.EncodeEnumeration(ga.Population().Add().Bits(), "red");
  colour.EncodeEnumeration(ga.Population().Add().Bits(), "blue");
  const std::string good = Text(ga);
  const auto genotype = [](std::vector<std::string> entries) {
    TZPGeneticAlgorithm other;
    TZPGAGene& gene = other.Genes().Add();
    gene.SetName("colour");
    gene.SetGeneType(TGeneType::gtEnumeration);
    gene.SetSize(2);
    for (const std::string& e : entries) gene.MutableEnumerations().Add(e);
    std::ostringstream out;
    SaveToStream(other.Genes(), out);
    return out.str();
  };
  const auto load = [&](const std::string& text) {
    std::istringstream in(text);
    return MessageOf([&] { LoadFromStream(ga.Genes(), in); });
  };
  EXPECT_EQ(load(genotype({"red", "green"})), "The Bits of chromosome 1 hold no entry of the gene \"colour\"");
  EXPECT_EQ(load(genotype({})), "The Bits of chromosome 0 hold no entry of the gene \"colour\"");
  EXPECT_EQ(Text(ga), good);
  // Entries enough for every index the population holds: the load stands and the whole component saves.
  EXPECT_EQ(load(genotype({"cyan", "magenta", "yellow", "black"})), "(no error)");
  EXPECT_NE(Text(ga).find("<EnumerationGeneValue>yellow</EnumerationGeneValue>"), std::string::npos);
  // Without individuals there is nothing to decode: even the empty list loads.
  ga.Population().Clear();
  EXPECT_EQ(load(genotype({})), "(no error)");
  EXPECT_EQ(Text(ga).find("<Enumeration>"), std::string::npos);
}

namespace {

std::string GenoTypeText(const TZPGAGenes& genes) {
  std::ostringstream out;
  SaveToStream(genes, out);
  return out.str();
}

// Loads Text into the genotype of a fresh component, saves it, loads the saved
// text into another fresh component and saves again; returns both saves.
std::pair<std::string, std::string> GenoTypeRoundTrip(const std::string& text) {
  TZPGeneticAlgorithm first;
  std::istringstream in(text);
  LoadFromStream(first.Genes(), in);
  const std::string saved = GenoTypeText(first.Genes());
  TZPGeneticAlgorithm second;
  std::istringstream again(saved);
  LoadFromStream(second.Genes(), again);
  return {saved, GenoTypeText(second.Genes())};
}

}  // namespace

TEST(GADocumentRoundTrip, EnumerationGeneOfOneEntryLoadsWithTheRangeOfThatEntry) {
  // A gene a program fills: its one entry gives it one bit and the range 0 to 0.
  TZPGeneticAlgorithm made;
  TZPGAGene& gene = made.Genes().Add();
  gene.SetName("e");
  gene.SetGeneType(TGeneType::gtEnumeration);
  gene.MutableEnumerations().Add("only");
  ASSERT_EQ(gene.Size(), 1);
  ASSERT_EQ(gene.MaxValue(), 0);
  // Its own save, and a hand-made document whose Size the entry does not need.
  const std::string wide =
      "<GenoType><EnumerationGene><Name>e</Name><Size>64</Size><MinValue>0</MinValue><MaxValue>0</MaxValue>"
      "<PreserveSignBit>false</PreserveSignBit><Enumeration>only</Enumeration></EnumerationGene></GenoType>";
  for (const std::string& text : {GenoTypeText(made.Genes()), wide}) {
    TZPGeneticAlgorithm loaded;
    std::istringstream in(text);
    LoadFromStream(loaded.Genes(), in);
    const TZPGAGene& g = loaded.Genes().Items(0);
    EXPECT_EQ(g.Size(), 1) << text;
    EXPECT_EQ(g.MinValue(), 0) << text;
    EXPECT_EQ(g.MaxValue(), 0) << text;
    const auto [saved, resaved] = GenoTypeRoundTrip(text);
    EXPECT_EQ(resaved, saved);
  }
}

TEST(GADocumentRoundTrip, GenesWhoseSizeAndRangeDisagreeLoadBackToTheSameState) {
  // Every gene kind with sizes, bounds, sign modes and entries that do not fit
  // one another, each followed by a gene that its size moves.
  int cases = 0;
  for (const char* kind : {"BooleanGene", "IntegerGene", "FloatGene", "EnumerationGene"}) {
    const bool enumeration = std::string(kind) == "EnumerationGene";
    for (const char* size : {"0", "1", "2", "3", "64"}) {
      for (const char* range :
           {"", "<MinValue>0</MinValue><MaxValue>0</MaxValue>", "<MinValue>-1</MinValue><MaxValue>5</MaxValue>",
            "<MinValue>7</MinValue><MaxValue>-8</MaxValue>", "<MinValue>1E300</MinValue><MaxValue>-INF</MaxValue>"}) {
        for (const char* sign : {"false", "true"}) {
          for (int entries = 0; entries <= (enumeration ? 5 : 0); ++entries) {
            std::string gene = std::string("<") + kind + "><Name>g</Name><Size>" + size + "</Size>" + range +
                               "<PreserveSignBit>" + sign + "</PreserveSignBit>";
            for (int e = 0; e < entries; ++e) gene += "<Enumeration>v" + std::to_string(e) + "</Enumeration>";
            gene += std::string("</") + kind + ">";
            const std::string text =
                "<GenoType>" + gene + "<IntegerGene><Name>next</Name><Size>2</Size></IntegerGene></GenoType>";
            const auto [saved, resaved] = GenoTypeRoundTrip(text);
            EXPECT_EQ(resaved, saved) << text;
            ++cases;
          }
        }
      }
    }
  }
  EXPECT_EQ(cases, 3 * 5 * 5 * 2 + 5 * 5 * 2 * 6);
}
