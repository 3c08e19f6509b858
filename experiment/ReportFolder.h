// The report of a finished experiment folder, written into a folder of its
// own: report.md, report.tex, report-standalone.tex and the figures (each as
// PNG, SVG and PDF, drawn by the caller through a TPictureWriter). The
// experiment's own files are only read.
//
//   WriteReport("exp", "exp/report", draw);   // Exception when exp is running or unfinished
#pragma once

#include <filesystem>

#include "experiment/FinishedExperiment.h"
#include "experiment/ReportDocument.h"

namespace zp::experiment {

// The figure types each figure is written in, LaTeX's first.
inline constexpr std::array<const char*, 3> kReportFigureTypes{"pdf", "svg", "png"};

// Critical-difference diagrams need this many methods and instances at least.
inline constexpr int32_t kCdMinMethods = 3;
inline constexpr int64_t kCdMinInstances = 5;

// Reads Folder one cell at a time and writes the report into Out (made when
// missing); returns what it holds. Raises Exception naming Folder when it
// holds no experiment.json, a batch holds its lock, or the experiment has not
// finished (run.end null), and when Out is Folder itself; and naming the file of a failed write.
TReportContent WriteReport(const std::filesystem::path& Folder, const std::filesystem::path& Out,
                           const TPictureWriter& Draw);

}  // namespace zp::experiment
