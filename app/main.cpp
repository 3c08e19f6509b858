// nqueens-workbench: the application object, the command line (--seed) and the main window, then the event loop.
// The window remembers its settings in the application's INI file (nqueens-workbench/nqueens-workbench.ini
// under $XDG_CONFIG_HOME); the random source never starts from them.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstring>

#include "app/MainWindow.h"
#include "platform/Random.h"

namespace {

const QCommandLineOption kSeed(
    "seed", "The random source's seed at start (decimal or 0x hexadecimal, 0 to 4294967295; default 0).", "S");

void SetUp(QCommandLineParser& Parser) {
  Parser.setApplicationDescription("The N-Queens genetic-algorithm workbench.");
  Parser.addHelpOption();
  Parser.addOption(kSeed);
}

// True when the arguments ask for the help text, which needs no display.
bool AsksForHelp(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    for (const char* flag : {"-h", "--help", "-help", "-?", "--help-all"})
      if (std::strcmp(argv[i], flag) == 0) return true;
  return false;
}

// The help under a plain application object: a window's would abort without a display.
int PrintHelp(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  QCommandLineParser parser;
  SetUp(parser);
  std::fputs(qPrintable(parser.helpText()), stdout);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (AsksForHelp(argc, argv)) return PrintHelp(argc, argv);
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("nqueens-workbench"));
  QApplication::setApplicationName(QStringLiteral("nqueens-workbench"));
  QCommandLineParser parser;
  SetUp(parser);
  // A mistake on the command line is reported like nqueens-ga's, exit status 2, before the window appears.
  auto usage_error = [](const QString& message) {
    std::fprintf(stderr, "nqueens-workbench: %s\nTry 'nqueens-workbench --help'.\n", qPrintable(message));
    return 2;
  };
  if (!parser.parse(QApplication::arguments())) return usage_error(parser.errorText());
  if (!parser.positionalArguments().isEmpty())
    return usage_error("unexpected argument '" + parser.positionalArguments().first() + "'");
  if (parser.isSet(kSeed)) {
    const QString text = parser.value(kSeed);
    const auto value = zp::ParseSeed(text.toStdString());
    if (!value) return usage_error("--seed takes an integer from 0 to 4294967295, not '" + text + "'");
    zp::GlobalRandom().SetSeed(*value);
  }
  zp::app::TMainWindow window;
  window.show();
  return app.exec();
}
