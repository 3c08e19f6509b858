// The report a paper takes its tables from: a methods paragraph worked out
// from the experiment's design, per cell the summary table (best values in
// bold) and the pairwise table, and the figures with their captions, as
// Markdown and as LaTeX (booktabs tabular fragments and a standalone document
// that inputs them). The texts hold no date, so that they repeat byte for byte.
//
//   TReportContent report{stored, cells, figures, friedman};
//   WriteFile("report.md", ReportMarkdown(report));
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "experiment/Comparisons.h"
#include "experiment/ExperimentJson.h"
#include "experiment/Friedman.h"
#include "experiment/Summary.h"

namespace zp::experiment {

// A figure beside the report: Stem.png, Stem.svg and Stem.pdf, and what its caption says.
struct TReportFigure {
  std::string Stem;
  std::string Caption;
};

struct TReportCell {
  TCell Cell;
  std::vector<TSummaryRow> Summary;         // its methods in the workbench's order
  std::vector<TComparisonRow> Comparisons;  // as Compare gives them
  std::vector<TReportFigure> Figures;
};

struct TReportContent {
  TStoredExperiment Experiment;
  std::vector<TReportCell> Cells;      // in the files' key order
  std::vector<TReportFigure> Figures;  // over the whole experiment: the critical-difference diagram, main effects
  // The methods' ranks by ERT over the cells (Cells' methods in the design's order), when there are two or more.
  std::optional<TFriedman> Friedman;
};

// "8 queens"; with several configurations ", configuration 1 (population 4n)" after it.
std::string ReportCellCaption(const TCell& Cell, const TExperimentDesign& Design);

// The methods paragraph: version, problems and sizes, every setting (the varied
// ones named), budget, repeats, seeds, streams, tests, Holm's family and the bootstrap.
std::string MethodsParagraph(const TStoredExperiment& Experiment);

// The caption of the critical-difference diagram: the statistic, p, N and CD,
// and why configurations of one size are no independent data sets.
std::string CdCaption(const TFriedman& Friedman, double Cd, bool Configurations);

// report.md: the paragraph, then per cell its tables and figures, then the experiment's figures.
std::string ReportMarkdown(const TReportContent& Report);

// report.tex: per cell its tables as booktabs tabulars in table floats (each
// under a "% table summary-nqueens-8-c0" line), then \ReportCellEnd, which is
// nothing unless the including document defines it; for \input into a paper.
std::string ReportLatex(const TReportContent& Report);

// report-standalone.tex: an article with the paragraph that inputs report.tex,
// a page per cell, then includes the PDF figures with their captions.
std::string ReportStandaloneLatex(const TReportContent& Report);

}  // namespace zp::experiment
