// Components the persistence tests save and load.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>

#include "TestSupport.h"
#include "engine/ZPGeneticAlgorithm.h"
#include "persistence/GADocuments.h"

namespace zp::xml::testing {

using namespace zp::ga;

// Eight integer genes "Col 0".."Col 7" of 3 bits laid out as the workbench
// does, 32 individuals, initialized and evolved a little with non-default settings.
inline std::unique_ptr<TZPGeneticAlgorithm> MakeQueens() {
  auto ga = std::make_unique<TZPGeneticAlgorithm>();
  for (int c = 0; c < 8; ++c) {
    TZPGAGene& g = ga->Genes().Add();
    g.SetGeneType(TGeneType::gtInteger);
    g.SetName("Col " + std::to_string(c));
    g.SetPreserveSignBit(false);
    g.SetSize(3);
    g.SetMaxValue(7);
  }
  ga->SetInitialPopulation(32);
  ga->OnEvaluateFitness = [](TZPCustomGeneticAlgorithm&, TZPGAIndividual& item, TGAFitness& fitness) {
    fitness = 0;
    for (int i = 0; i < item.Bits().Size(); ++i) fitness += item.Bits().Bit(i);
  };
  ga->Initialize();
  ga->SetFitnessMethod(TGAFitnessMethod::fmMaximize);
  ga->SetFitnessCutoff(28);
  ga->SetUseDiversityLimit(true);
  ga->SetCrossoverMethod(TGACrossoverMethod::cmBitBoundary);
  ga->SetSelectionMethod(TGASelectionMethod::smTournament);
  ga->SetTournamentField(3);
  ga->SetMutationProbability(1.0 / 24.0);
  ga->EvolveGenerations(3);
  return ga;
}

// The written text of the whole component.
inline std::string Text(const TZPCustomGeneticAlgorithm& ga) {
  std::ostringstream out;
  SaveToStream(ga, out);
  return out.str();
}

using zp::test::ReadFile;

// Text with its first From replaced by To; a test failure when From is missing.
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

inline std::string Repeat(const std::string& piece, int64_t count) {
  std::string text;
  text.reserve(piece.size() * static_cast<size_t>(count));
  for (int64_t i = 0; i < count; ++i) text += piece;
  return text;
}

// The document of an empty component with these GenoType children and Chromosomes children.
inline std::string AlgorithmDocument(const std::string& genes, const std::string& chromosomes) {
  TZPGeneticAlgorithm empty;
  std::string text = Text(empty);
  text.replace(text.find("<GenoType Size=\"0\" />"), 21, "<GenoType>" + genes + "</GenoType>");
  text.replace(text.find("<Chromosomes />"), 15, "<Chromosomes>" + chromosomes + "</Chromosomes>");
  return text;
}

// An empty folder of that name under the test's temporary folder.
inline std::filesystem::path FreshFolder(const std::string& name) {
  const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / name;
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir;
}

template <typename F>
std::string MessageOf(F&& f) {
  try {
    f();
  } catch (const std::exception& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace zp::xml::testing
