// The workbench's stop request, which ends a run at the next look of the
// engine's stop test, and its loads: a loaded algorithm is the first initialization,
// a loaded genotype sets the queen count when it is an N-Queens one, and a
// document whose generations would take seconds is refused.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "persistence/GADocuments.h"
#include "platform/Random.h"
#include "workbench/FitnessGraph.h"
#include "workbench/QueensWorkbench.h"

namespace {

using zp::queens::TQueensWorkbench;

// Asks for a stop once the run's first method has reached generation At.
struct TStopAt : zp::queens::IRunObserver {
  TQueensWorkbench& wb;
  int at;
  TStopAt(TQueensWorkbench& Wb, int At) : wb(Wb), at(At) {}
  void OnGeneration(const zp::queens::TGenerationReport& Report) override {
    if (Report.Generation == at) wb.RequestStop();
  }
};

int Count(const std::vector<std::string>& lines, const std::string& prefix) {
  int n = 0;
  for (const std::string& l : lines) n += l.rfind(prefix, 0) == 0 ? 1 : 0;
  return n;
}

TEST(WorkbenchStop, EndsTheRunBeforeTheNextGenerationAndSkipsTheOtherMethods) {
  zp::TRandom random(0);
  TQueensWorkbench wb(random);
  TStopAt stop(wb, 5);
  wb.Attach(stop);
  wb.FormCreate();
  wb.SpinEdit1Change(32);
  const size_t before = wb.Log().size();
  wb.btnRunClick("1000");
  // The stopped method logs no block of its own, only the stop.
  const std::vector<std::string>& log = wb.Log();
  EXPECT_EQ(Count(log, "Selection Method: "), 0);
  ASSERT_EQ(log.size(), before + 1);
  EXPECT_EQ(log.back(), "Run stopped after 5 of 1000 generations");
  EXPECT_EQ(wb.Algorithm().Generation(), 5);

  // The request stands until cleared: the next run makes no generation, graph or not.
  wb.cbGraphClick(false);
  wb.btnRunClick("1000");
  EXPECT_EQ(wb.Log().back(), "Run stopped after 0 of 1000 generations");
  EXPECT_EQ(wb.Algorithm().Generation(), 5);
  wb.ClearStopRequest();
  wb.btnRunClick("3");
  EXPECT_EQ(Count(wb.Log(), "Selection Method: "), 5);
  EXPECT_EQ(Count(wb.Log(), "Run stopped"), 2);
}

TEST(WorkbenchStop, ARunNotStoppedLogsAsBefore) {
  zp::TRandom a(0), b(0);
  TQueensWorkbench plain(a), stoppable(b);
  stoppable.RequestStop();
  stoppable.ClearStopRequest();
  plain.btnRunClick("40");
  stoppable.btnRunClick("40");
  EXPECT_EQ(plain.Log(), stoppable.Log());
}

TEST(WorkbenchLoad, ALoadedAlgorithmIsTheFirstInitializationAndSetsTheQueenCount) {
  const std::string file = testing::TempDir() + "nqueens_wb_load.xml";
  std::vector<std::string> saved;
  {
    zp::TRandom random(0);
    TQueensWorkbench wb(random);
    wb.FormCreate();
    wb.SpinEdit1Change(10);
    wb.SaveAll(file);
  }
  zp::TRandom random(1);
  TQueensWorkbench wb(random);
  zp::queens::TFitnessGraph graph;
  wb.Attach(graph);
  std::vector<std::string> notes;
  wb.OnNote = [&](const std::string& note) { notes.push_back(note); };
  wb.FormCreate();
  const size_t lines = wb.Log().size();
  try {
    wb.LoadAll(file);
  } catch (const std::exception& e) {
    GTEST_SKIP() << e.what();
  }
  EXPECT_EQ(wb.Log().size(), lines);
  EXPECT_TRUE(wb.Algorithm().Initialized());
  EXPECT_EQ(wb.NumQueens(), 10);
  EXPECT_EQ(wb.Algorithm().InitialPopulation(), 40);
  EXPECT_EQ(wb.Board().ColCount(), 10);
  EXPECT_TRUE(notes.empty());
  wb.btnRunClick("2");
  EXPECT_EQ(Count(wb.Log(), "Population Initialized."), 0);
  EXPECT_EQ(Count(wb.Log(), "Selection Method: "), 5);

  // A genotype of another shape: the load stands, the front end is told.
  wb.Algorithm().Genes().Items(0).SetSize(7);
  wb.SaveGenoType(file);
  wb.LoadGenoType(file);
  EXPECT_EQ(wb.Algorithm().Genes().Items(0).Size(), 7);
  EXPECT_EQ(notes, std::vector<std::string>{"the loaded problem is not an N-Queens board"});
  std::remove(file.c_str());
}

// A component of Genes one-bit genes, Individuals chromosomes and that TournamentField.
std::unique_ptr<zp::ga::TZPGeneticAlgorithm> Shaped(int Genes, int Individuals, int TournamentField) {
  auto ga = std::make_unique<zp::ga::TZPGeneticAlgorithm>();
  for (int i = 0; i < Genes; ++i) {
    zp::ga::TZPGAGene& gene = ga->Genes().Add();
    gene.SetGeneType(zp::ga::TGeneType::gtBoolean);
    gene.SetSize(1);
  }
  for (int i = 0; i < Individuals; ++i) ga->Population().Add();
  ga->SetTournamentField(TournamentField);
  return ga;
}

std::string Saved(const zp::ga::TZPCustomGeneticAlgorithm& GA) {
  std::ostringstream out;
  zp::xml::SaveToStream(GA, out);
  return out.str();
}

TEST(WorkbenchLoad, DocumentsWhoseGenerationWouldTakeSecondsAreRefusedAndChangeNothing) {
  const std::string file = testing::TempDir() + "nqueens_wb_work.xml";
  zp::TRandom random(0);
  TQueensWorkbench wb(random);
  wb.FormCreate();
  wb.SpinEdit1Change(8);
  const std::string pairs =
      "one generation of 374 chromosomes of 600 genes would take 67207800 steps of the N-Queens "
      "fitness (one per pair of genes), more than the 67108864 a loaded document may ask for";
  const std::string draws =
      "one generation of 257 chromosomes with a TournamentField of 65536 would make 16842752 "
      "selection draws, more than the 16777216 a loaded document may ask for";
  const auto refused = [&](auto load, const std::string& message) {
    const std::string before = Saved(wb.Algorithm());
    EXPECT_THROW_MSG((wb.*load)(file), zp::xml::EGADocumentError, message);
    EXPECT_EQ(Saved(wb.Algorithm()), before);
  };
  zp::xml::SaveAlgorithmFile(*Shaped(600, 374, 4), file);
  refused(&TQueensWorkbench::LoadAll, pairs);
  zp::xml::SaveAlgorithmFile(*Shaped(1, 257, 65536), file);
  refused(&TQueensWorkbench::LoadAll, draws);

  // At the limits a load stands; a population or a genotype that takes the
  // component past one is refused by the component's own other part.
  zp::xml::SaveAlgorithmFile(*Shaped(600, 373, 4), file);
  wb.LoadAll(file);
  zp::xml::SavePopulationFile(Shaped(600, 374, 4)->Population(), file);
  refused(&TQueensWorkbench::LoadPopulation, pairs);
  zp::xml::SaveGenoTypeFile(Shaped(601, 0, 4)->Genes(), file);
  refused(&TQueensWorkbench::LoadGenoType,
          "one generation of 373 chromosomes of 601 genes would take 67251900 steps of the N-Queens fitness (one per "
          "pair of genes), more than the 67108864 a loaded document may ask for");
  zp::xml::SaveAlgorithmFile(*Shaped(1, 256, 65536), file);
  wb.LoadAll(file);
  EXPECT_EQ(wb.Algorithm().TournamentField(), 65536);
  zp::xml::SavePopulationFile(Shaped(1, 257, 4)->Population(), file);
  refused(&TQueensWorkbench::LoadPopulation, draws);
  std::remove(file.c_str());
}

}  // namespace

namespace {

TEST(WorkbenchLog, ABoundedLogKeepsTheLatestLinesAndStillTellsEveryOne) {
  zp::TRandom random(0);
  TQueensWorkbench wb(random);
  size_t told = 0;
  wb.OnLogLine = [&](const std::string&) { ++told; };
  wb.SetLogLimit(10);
  EXPECT_EQ(wb.Log().size(), 7u);  // the introduction
  for (int i = 0; i < 50; ++i) wb.btnInitClick();
  EXPECT_EQ(told, 50u * 8u);
  EXPECT_GE(wb.Log().size(), 10u);
  EXPECT_LT(wb.Log().size(), 20u);
  EXPECT_EQ(wb.Log().back(), "");
  EXPECT_EQ(wb.Log()[wb.Log().size() - 2].rfind("     Mutation probability is ", 0), 0u);
  // Streamed only: nothing is kept.
  wb.SetLogLimit(0);
  wb.btnInitClick();
  EXPECT_TRUE(wb.Log().empty());
  EXPECT_EQ(told, 51u * 8u);
}

}  // namespace

namespace {

TEST(GenerationWork, TheCapsOfLoadsAndBatchesAreExactAndNameTheirFigures) {
  using zp::queens::GenerationWorkExcess;
  EXPECT_EQ(GenerationWorkExcess(4096, 8, 4096), "");  // 2^24 draws exactly
  EXPECT_EQ(GenerationWorkExcess(4097, 8, 4096)
                .rfind("one generation of 4097 chromosomes with a TournamentField of "
                       "4096 would make 16781312 selection draws, more than the 16777216",
                       0),
            0u);
  // 257 genes make 32,896 pairs: 2,040 chromosomes stay within 2^26 steps, 2,041 do not.
  EXPECT_EQ(GenerationWorkExcess(2040, 257, 2), "");
  EXPECT_EQ(GenerationWorkExcess(2041, 257, 2),
            "one generation of 2041 chromosomes of 257 genes would take 67140736 steps of the N-Queens fitness (one "
            "per pair of genes), more than the 67108864");
  // Every batch the options allow stays within both: 32 queens, 128 chromosomes, TournamentField 4.
  EXPECT_EQ(GenerationWorkExcess(128, 32, 4), "");
}

}  // namespace
