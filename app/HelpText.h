// The pages of the Help window (F1): the guide to the window's controls and
// chart, the page on the genetic algorithm with its settings for the queen
// count set now, and the page on experiments and how to read their results.
// Rich text for a QTextBrowser. Every page is one entry of the table
// HelpPages() returns (HelpText.cpp): adding a page is adding an entry there.
//
//   for (const THelpPage& page : HelpPages()) list->addItem(page.Title);
//   browser->setHtml(HelpPages()[0].Html(context));
#pragma once

#include <QString>
#include <span>

#include "workbench/ComparisonRun.h"

namespace zp::app {

// What a page may show of the window: where its settings are kept, and the
// queen count with the GA's settings the next Run uses for it.
struct THelpContext {
  QString SettingsFile;
  int Queens = 8;
  queens::TResolvedSettings Settings;
  bool Initialized = false;  // Settings are the component's own (a run or load made them), not a fresh one's
};

struct THelpPage {
  const char* Name;   // the page's object name ("hpGuide"), for tests and links
  const char* Title;  // its entry in the Help window's list
  QString (*Html)(const THelpContext& Context);
};

// Every page, in the order the Help window lists them.
std::span<const THelpPage> HelpPages();

// The guide to the controls, the chart and a solved or best-found board.
QString GuideHtml(const THelpContext& Context);
// The genetic algorithm: the cycle, each selection method, the settings for Context.Queens, hits and solutions.
QString GeneticAlgorithmHtml(const THelpContext& Context);
// The Experiments page: setting up, Start, Stop, Resume, Open, Report, Export, every column of
// the table, hits, ERT, the interval, the effect, "Differs from", the ECDF and replay.
QString ExperimentsHtml(const THelpContext& Context);

}  // namespace zp::app
