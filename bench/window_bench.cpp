// window_bench: how the window copes with a long comparison run, 32 queens x
// 100,000 generations by default. For the Text page and then the Graph page in
// front it prints the run's wall time, the longest delay of an event posted to
// the window from another thread every 5 ms while the run goes, how often the
// chart was painted, and how long one paint of the chart with all the run's
// points takes (no event is answered during a paint). Build it in release and run it on an otherwise quiet
// machine; the offscreen platform is used unless QT_QPA_PLATFORM names another.
//
//   build/release/bench/window_bench [QUEENS [GENERATIONS [text|graph]]]   (default: both pages)
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <thread>

#include "app/MainWindow.h"
#include "app/QueensMain.h"
#include "chart/qt/ChartWidget.h"
#include "platform/Random.h"

namespace {

using Clock = std::chrono::steady_clock;

// An event that knows when it was posted.
class TProbeEvent : public QEvent {
 public:
  static QEvent::Type Kind() {
    static const auto kind = static_cast<QEvent::Type>(QEvent::registerEventType());
    return kind;
  }
  TProbeEvent() : QEvent(Kind()), posted(Clock::now()) {}
  Clock::time_point posted;
};

// Receives the probes on the window's thread and keeps the longest delay.
class TProbeReceiver : public QObject {
 public:
  double longest_ms = 0;
  int received = 0;
  bool event(QEvent* Event) override {
    if (Event->type() != TProbeEvent::Kind()) return QObject::event(Event);
    const auto* probe = static_cast<TProbeEvent*>(Event);
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - probe->posted).count();
    if (ms > longest_ms) longest_ms = ms;
    ++received;
    return true;
  }
};

struct TResult {
  double seconds, longest_ms;
  int probes, chart_paints;
  double full_paint_ms;      // one paint of the chart with every point of the run
  double full_paint_cpu_ms;  // its processor time: what it takes on a machine of its own
};

double ThreadCpuMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

TResult Measure(int Page, int Queens, const QString& Generations, const QString& SettingsFile) {
  zp::GlobalRandom().SetSeed(0);
  zp::app::TMainWindow window(SettingsFile);
  zp::app::TForm1& form = window.Form();
  form.ShowErrorMessage = [](const QString& message) { std::fprintf(stderr, "error: %s\n", qPrintable(message)); };
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) std::fprintf(stderr, "note: the window was not exposed\n");
  form.findChild<QSpinBox*>("SpinEdit1")->setValue(Queens);
  form.findChild<QLineEdit*>("Edit1")->setText(Generations);
  form.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(Page);
  QTest::qWait(100);
  auto* chart = form.findChild<zp::chart::TZPChartWidget*>("ChartPanel");
  const int paints_before = chart->ChartPaintCount();

  TProbeReceiver receiver;
  std::atomic<bool> probing{true};
  std::thread prober([&] {
    while (probing) {
      QCoreApplication::postEvent(&receiver, new TProbeEvent);
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
  });
  QElapsedTimer clock;
  clock.start();
  // The application's own event loop, which sleeps until an event comes, as the window's does.
  QEventLoop loop;
  QObject::connect(&form, &zp::app::TForm1::RunningChanged, &loop, [&](bool running) {
    if (!running) loop.quit();
  });
  form.Run();
  if (form.Running()) loop.exec();
  const double seconds = clock.elapsed() / 1000.0;
  probing = false;
  prober.join();
  QCoreApplication::sendPostedEvents(&receiver);
  const int paints = chart->ChartPaintCount() - paints_before;

  // Handing the chart its panel again makes it draw the panel anew on the next paint.
  form.findChild<QTabWidget*>("PageControl1")->setCurrentIndex(1);
  QTest::qWait(100);
  auto* panel = chart->Panel();
  chart->SetPanel(nullptr);
  chart->SetPanel(panel);
  QElapsedTimer paint;
  const double cpu = ThreadCpuMs();
  paint.start();
  chart->repaint();
  const double full_paint_ms = paint.nsecsElapsed() / 1e6;
  const double full_paint_cpu_ms = ThreadCpuMs() - cpu;
  window.close();
  return {seconds, receiver.longest_ms, receiver.received, paints, full_paint_ms, full_paint_cpu_ms};
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int queens = argc > 1 ? std::atoi(argv[1]) : 32;
  const QString generations = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("100000");
  QTemporaryDir settings;  // the user's remembered settings stay as they are
  const QString file = settings.filePath("window_bench.ini");

  const std::string only = argc > 3 ? argv[3] : "";
  const TResult none{};
  const TResult text = only == "graph" ? none : Measure(0, queens, generations, file);
  const TResult graph = only == "text" ? none : Measure(1, queens, generations, file);
  std::printf("%d queens x %s generations\n", queens, qPrintable(generations));
  std::printf("%-12s %10s %22s %8s %14s %22s %12s\n", "page", "run (s)", "longest event delay", "probes",
              "chart paints", "paint of all points", "(cpu)");
  for (const auto& [name, r] : {std::pair{"Text", text}, std::pair{"Graph", graph}})
    std::printf("%-12s %10.2f %19.1f ms %8d %14d %19.1f ms %9.1f ms\n", name, r.seconds, r.longest_ms, r.probes,
                r.chart_paints, r.full_paint_ms, r.full_paint_cpu_ms);
  std::printf("Graph / Text run time: %.2f\n", graph.seconds / text.seconds);
  return 0;
}
