#include "cli/ReportCommand.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>

#include "chart/qt/ChartRender.h"
#include "cli/ChartOutput.h"
#include "experiment/ReportFolder.h"

namespace zp::cli {

CLI::App* AddReportCommand(CLI::App& App, TReportOptions& O) {
  CLI::App* report = App.add_subcommand("report", "the tables, figures and methods paragraph of a finished experiment");
  report->add_option("DIR", O.Folder, "the experiment's folder")->required();
  report->add_option("--out", O.Out, "where the report goes (default DIR/report)")->type_name("FOLDER");
  report->footer(
      "Writes report.md, report.tex (booktabs tables for \\input), report-standalone.tex\n"
      "(pdflatex) and each figure as PDF, SVG and PNG. The experiment's files are only read.");
  return report;
}

int RunReport(const TReportOptions& O, std::ostream& Out, std::ostream& Err) {
  const std::filesystem::path out = O.Out ? std::filesystem::path(*O.Out) : std::filesystem::path(O.Folder) / "report";
  try {
    PrepareDrawing();
    experiment::WriteReport(O.Folder, out,
                            [](chart::TZPCustomChartPanel& panel, const std::string& file, int width, int height) {
                              if (file.ends_with(".pdf"))
                                chart::SaveChartPdf(panel, file, width, height);
                              else
                                chart::SaveChartFile(panel, file, width, height);
                            });
  } catch (const std::exception& e) {
    Err << "error: " << e.what() << '\n';
    return 1;
  }
  Out << "report written to " << out.string() << '\n';
  return 0;
}

}  // namespace zp::cli
