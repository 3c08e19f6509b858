// TQueensWorkbench: the workbench model behind the window and nqueens-ga.
// It owns ZPGeneticAlgorithm1 set up for N-Queens, the log, the board and
// the graph feed, and has one operation per window action. Errors leave the
// operations as exceptions; each front end shows them and stays usable.
//
//   TQueensWorkbench wb;
//   wb.FormCreate();
//   wb.btnRunClick("100");   // initializes if needed, runs all five methods
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/ZPGeneticAlgorithm.h"
#include "workbench/ChessBoard.h"
#include "workbench/GraphFeed.h"
#include "workbench/QueensProblem.h"

namespace zp::chart {
class TZPChartPanel;
}

namespace zp::queens {

class TFitnessGraph;

class TQueensWorkbench {
 public:
  // Creates the component with its stored settings and the log's introduction lines.
  TQueensWorkbench();
  ~TQueensWorkbench();
  TQueensWorkbench(const TQueensWorkbench&) = delete;
  TQueensWorkbench& operator=(const TQueensWorkbench&) = delete;

  // --- window actions ---
  // Start-up: InitialPopulation := 4 * NumQueens.
  void FormCreate();
  void btnInitClick();
  // The comparison run; GenerationText is read as a decimal integer for every method.
  void btnRunClick(const std::string& GenerationText);
  // The queen count control changed: clamps to 4..32, re-initializes.
  void SpinEdit1Change(int Value);
  // The Graph check box: plot generations or not.
  void cbGraphClick(bool Checked);
  // The grid's client size changed: cells re-fitted.
  void FormResize(int GridClientWidth, int GridClientHeight);

  // --- file commands (the file name already chosen) ---
  void SaveAll(const std::string& FileName);
  void LoadAll(const std::string& FileName);
  void SaveGenoType(const std::string& FileName);
  void LoadGenoType(const std::string& FileName);
  void SavePopulation(const std::string& FileName);
  void LoadPopulation(const std::string& FileName);

  // --- state ---
  ga::TZPGeneticAlgorithm& Algorithm() { return *ga_; }
  int NumQueens() const { return num_queens_; }
  bool GraphEnabled() const { return graph_enabled_; }
  const std::vector<std::string>& Log() const { return log_; }
  const TChessBoard& Board() const { return board_; }
  TGraphFeed& Graph() { return graph_; }
  const TGraphFeed& Graph() const { return graph_; }
  // The Graph page's chart, the graph feed's sink; the window and nqueens-ga show this panel.
  chart::TZPChartPanel& ChartPanel();
  TFitnessGraph& FitnessGraph() { return *fitness_graph_; }

  // Told of every log line as it is appended.
  std::function<void(const std::string& Line)> OnLogLine;
  // Told after every generation of a comparison run (method, generation), for progress display.
  std::function<void(ga::TGASelectionMethod Method, int Generation)> OnProgress;

 private:
  void ApplyStoredSettings();
  void AddLog(const std::string& Line);
  void Initialization(bool& Initialized);
  void EvaluateFitness(ga::TZPGAIndividual& Item, ga::TGAFitness& Fitness);
  void Evolve();
  void RunSelectionMethod(ga::TGASelectionMethod Method, int32_t Generation, const ga::TZPGAPopulation& Population,
                          const std::string& GenerationText);
  void ShowSolution();

  std::unique_ptr<ga::TZPGeneticAlgorithm> ga_;
  int num_queens_ = 8;
  bool graph_enabled_ = true;
  std::vector<std::string> log_;
  TChessBoard board_;
  TGraphFeed graph_;
  std::vector<int32_t> rows_;  // scratch for the fitness
  TRowDecoder decoder_;
  std::unique_ptr<TFitnessGraph> fitness_graph_;
};

}  // namespace zp::queens
