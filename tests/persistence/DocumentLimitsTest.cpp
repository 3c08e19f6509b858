#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "TestComponents.h"
#include "persistence/XMLCharacters.h"

using namespace zp;
using namespace zp::ga;
using namespace zp::xml;
using namespace zp::xml::testing;
namespace fs = std::filesystem;

namespace {

// Records the most chromosome bits its population held whenever a gene resized it.
class TResizeWatcher : public TZPGeneticAlgorithm {
 public:
  int64_t PeakBits = 0;

 protected:
  void CheckGeneSize() override {
    TZPGeneticAlgorithm::CheckGeneSize();
    int64_t bits = 0;
    for (int i = 0; i < Population().Count(); ++i) bits += Population().Items(i).Bits().Size();
    PeakBits = std::max(PeakBits, bits);
  }
};

}  // namespace

TEST(GADocumentLimits, LoadingTheAlgorithmDoesNotResizeTheOldPopulation) {
  TResizeWatcher ga;
  for (int i = 0; i < 1000; ++i) ga.Population().Add();
  // A small document whose GenoType Size is wide: only its single chromosome may take that many bits.
  std::string doc = AlgorithmDocument("<BooleanGene><Name>b</Name><Size>1</Size></BooleanGene>",
                                      "<Chromosome><Genes><Bits>1</Bits></Genes></Chromosome>");
  doc.replace(doc.find("<GenoType>"), 10, "<GenoType Size=\"65536\">");
  std::istringstream wide(doc);
  LoadFromStream(ga, wide);
  EXPECT_EQ(ga.Population().Count(), 1);
  EXPECT_EQ(ga.GeneSize(), 65536);
  EXPECT_LE(ga.PeakBits, 65536);
}

TEST(GADocumentLimits, PopulationsPastALimitAreRefusedAndChangeNothing) {
  const auto ga = MakeQueens();
  const std::string before = Text(*ga);
  const std::string bit = "<BooleanGene><Name>b</Name><Size>1</Size></BooleanGene>";
  const std::string empty = "<Chromosome/>";
  struct Case {
    std::string document, message;
  };
  const std::vector<Case> cases = {
      {AlgorithmDocument("", Repeat(empty, kMaxPopulationIndividuals + 1)),
       "65537 chromosomes pass the limit of 65536 individuals in a population"},
      {AlgorithmDocument(Repeat(bit, 16), Repeat(empty, kMaxPopulationGeneValues / 16 + 1)),
       "16385 chromosomes of 16 genes pass the limit of 262144 gene values in a population"},
      // An entry counts at its saved length: each '<' is written as "&lt;".
      {AlgorithmDocument("<EnumerationGene><Name>e</Name><Size>1</Size><Enumeration>" + Repeat("&lt;", 1024) +
                             "</Enumeration></EnumerationGene>",
                         Repeat(empty, kMaxPopulationValueText / 4096 + 1)),
       "2049 chromosomes with gene values of up to 4096 characters pass the limit of 8388608 characters of gene "
       "values in a population"},
      {AlgorithmDocument(Repeat("<BooleanGene><Size>0</Size></BooleanGene>", kMaxGenoTypeGenes + 1), ""),
       "GenoType holds more than 16384 genes"},
  };
  for (const Case& c : cases) {
    std::istringstream in(c.document);
    EXPECT_EQ(MessageOf([&] { LoadFromStream(*ga, in); }), c.message);
    EXPECT_EQ(Text(*ga), before) << c.message;
  }
  // A population document counts the component's genes; a genotype document its population.
  const std::string many = "<Chromosomes>" + Repeat(empty, kMaxPopulationGeneValues / 8 + 1) + "</Chromosomes>";
  EXPECT_EQ(MessageOf([&] { LoadFromXML(ga->Population(), BindChromosomesDocument(TXMLDocument::Parse(many))); }),
            "32769 chromosomes of 8 genes pass the limit of 262144 gene values in a population");
  EXPECT_EQ(Text(*ga), before);
  TZPGeneticAlgorithm crowd;
  for (int i = 0; i < 1024; ++i) crowd.Population().Add();
  const std::string wide = "<GenoType>" + Repeat(bit, kMaxPopulationGeneValues / 1024 + 1) + "</GenoType>";
  EXPECT_EQ(MessageOf([&] { LoadFromXML(crowd.Genes(), BindGenoTypeDocument(TXMLDocument::Parse(wide))); }),
            "1024 chromosomes of 257 genes pass the limit of 262144 gene values in a population");
  EXPECT_EQ(crowd.Genes().Count(), 0);
}

TEST(GADocumentLimits, FilesPastTheLimitAreNotRead) {
  const auto ga = MakeQueens();
  const std::string before = Text(*ga);
  const std::string limit = std::to_string(kMaxDocumentFileBytes);
  // A device is no document: it is refused before anything is read.
  EXPECT_EQ(MessageOf([&] { LoadAlgorithmFile(*ga, "/dev/zero"); }),
            "/dev/zero: cannot read the file (not a regular file)");
  // A regular file is refused by its size (sparse: nothing of it is on disk).
  const std::string big = (FreshFolder("big_file") / "big.xml").string();
  std::ofstream(big) << "<GeneticAlgorithm/>";
  fs::resize_file(big, kMaxDocumentFileBytes + 1);
  EXPECT_EQ(MessageOf([&] { LoadAlgorithmFile(*ga, big); }),
            big + ": the file is larger than " + limit + " bytes, the limit for a document");
  EXPECT_EQ(Text(*ga), before);
}

TEST(GADocumentLimits, AttributesCountAgainstTheTagsOfAFile) {
  const auto ga = MakeQueens();
  const std::string before = Text(*ga);
  const fs::path dir = FreshFolder("attributes");
  // The document of an empty component with Count attributes on its root element.
  const auto document = [](int64_t count) {
    std::string text = AlgorithmDocument("", "");
    text.insert(text.find("<GeneticAlgorithm") + 17, Repeat(" a=\"\"", count));
    return text;
  };
  const std::string plain = document(0);
  const auto tags = static_cast<int64_t>(std::count(plain.begin(), plain.end(), '<'));
  const int64_t room = static_cast<int64_t>(kMaxDocumentTags) - tags;
  const std::string over = (dir / "over.xml").string();
  zp::test::WriteFile(over, document(room + 1));
  EXPECT_EQ(MessageOf([&] { LoadAlgorithmFile(*ga, over); }),
            over + ": the file holds " + std::to_string(tags) + " tags and " + std::to_string(room + 1) +
                " attributes, more than the 2097152 of both together that a document may hold");
  EXPECT_EQ(Text(*ga), before);
  const std::string at = (dir / "at.xml").string();
  zp::test::WriteFile(at, document(room));
  LoadAlgorithmFile(*ga, at);
  EXPECT_EQ(ga->Population().Count(), 0);
}

// The fuzz harness checks the bound against what the parser makes of every input.
TEST(GADocumentLimits, AttributeBoundCountsWhatTheParserCanMake) {
  struct Case {
    std::string text;
    size_t bound;
  };
  const std::vector<Case> cases = {
      {"", 0},
      {"<a b=\"1\" c='2'><d e = \"3\"/></a>", 3},
      // Quoted values may hold "=" and ">"; text, comments, CDATA and processing instructions hold no attribute.
      {"<a b=\"x=y>\" c='\"'/>", 2},
      {"<?xml version=\"1.0\"?><!-- a=b '--><a><![CDATA[c=d \"]]>e=f<?pi g=h?></a>", 0},
      // A document type declaration has rules of its own: every "=" from there on counts, and one more.
      {"<!DOCTYPE a [<!ENTITY e \"x='\">]><a b=\"=\"/>", 4},
      // The parser stops at an unclosed quote, or at a name without "=" after it has made its attribute.
      {"<a b=\"c", 1},
      {"<a b c=\"d\"/>", 1},
      {"<a b='1'\n c <d/>", 2},
  };
  for (const Case& c : cases) EXPECT_EQ(AttributeBound(c.text), c.bound) << c.text;
}

// Saves as another user than the owner of the folder's files: the folder is
// writable by all, so only the check of the file itself stops a replacement.
TEST(GADocumentLimits, SaveRefusesToReplaceAFileTheUserMayNotWrite) {
  const fs::path dir = FreshFolder("read_only");
  fs::permissions(dir, fs::perms::all);
  const std::string owned = (dir / "owned.xml").string();    // another user's file, mode 0644
  const std::string locked = (dir / "locked.xml").string();  // the saving user's own file, mode 0444
  const std::string shared = (dir / "shared.xml").string();  // writable by all, mode 0666
  const std::string link = (dir / "link.xml").string();      // a link to shared.xml
  std::ofstream(owned) << "old";
  std::ofstream(shared) << "old";
  fs::permissions(shared, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write | fs::perms::others_read | fs::perms::others_write);
  fs::create_symlink("shared.xml", link);
  TZPGeneticAlgorithm ga;

  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(out[0]);
    if (::geteuid() == 0 && ::setuid(65534) != 0) ::_exit(77);
    std::ofstream(locked) << "old";
    ::chmod(locked.c_str(), 0444);
    std::string report = MessageOf([&] { SaveGenoTypeFile(ga.Genes(), owned); }) + "\n" +
                         MessageOf([&] { SaveGenoTypeFile(ga.Genes(), locked); }) + "\n" +
                         MessageOf([&] { SaveGenoTypeFile(ga.Genes(), link); }) + "\n";
    const ssize_t written = ::write(out[1], report.data(), report.size());
    ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
  }
  ::close(out[1]);
  std::string report;
  char buf[4096];
  for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) report.append(buf, static_cast<size_t>(n));
  ::close(out[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot switch to user 65534";
  ASSERT_EQ(WEXITSTATUS(status), 0);

  const bool other_user = ::geteuid() == 0;
  EXPECT_EQ(report, (other_user ? owned + ": cannot write the file (Permission denied)\n" : "(no error)\n") + locked +
                        ": cannot write the file (Permission denied)\n(no error)\n");
  EXPECT_EQ(ReadFile(owned) == "old", other_user);
  EXPECT_EQ(ReadFile(locked), "old");
  // The link stays and the file it names was replaced, keeping its mode.
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(ReadFile(shared), "<?xml version=\"1.0\"?>\n<GenoType Size=\"0\" />\n");
  struct stat st {};
  ASSERT_EQ(::stat(shared.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0666u);
  // Nothing is left behind: the three files and the link.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 4);
}
