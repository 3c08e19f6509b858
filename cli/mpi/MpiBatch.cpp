#include "cli/mpi/MpiBatch.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <new>
#include <optional>

#include "cli/BatchSession.h"
#include "cli/mpi/Distributed.h"
#include "experiment/Runner.h"
#include "platform/Numbers.h"

namespace zp::cli::mpi {

namespace {

using namespace zp::experiment;

constexpr const char* kProgram = "nqueens-ga-mpi";

// Go on: the status every rank broadcasts when rank 0 found nothing wrong.
constexpr int kGoOn = -1;

// A repeat on this rank. For the tests, ZP_TEST_FAIL_RANK=K[:N] makes rank K's
// repeat after its first N (default 0) raise std::bad_alloc.
TLocalWorkers::TRun RepeatRunner(const TExperimentDesign& Design, int Rank) {
  std::optional<long> fail_after;
  if (const char* hook = std::getenv("ZP_TEST_FAIL_RANK")) {
    char* end = nullptr;
    const long rank = std::strtol(hook, &end, 10);
    if (rank == Rank) fail_after = *end == ':' ? std::strtol(end + 1, nullptr, 10) : 0;
  }
  auto started = std::make_shared<std::atomic<long>>(0);
  return [Design, fail_after, started](TRepeatKey Key, std::stop_token Halt) {
    if (fail_after && started->fetch_add(1) >= *fail_after) throw std::bad_alloc();
    return RepeatLines(RunRepeat(Design, Key, std::move(Halt)));
  };
}

// Rank 0: the command line read and checked, the folder made. kGoOn, or the status every rank exits with.
int Prepare(int argc, char** argv, TBatchOptions& O, TBatchPlan& Plan, std::optional<TBatchSession>& Session, int Ranks,
            std::ostream& Out, std::ostream& Err) {
  CLI::App app("The batch experiment of nqueens-ga over MPI ranks; files identical to nqueens-ga batch's.", kProgram);
  CLI::App* batch = AddBatchCommand(app, O);
  batch->get_option("--jobs")->description("worker threads per rank (default 1)");
  app.require_subcommand(1, 1);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    if (batch->get_help_ptr()->count() > 0 || app.get_help_ptr()->count() > 0) {
      Out << (batch->get_help_ptr()->count() > 0 ? batch->help() : app.help());
      return 0;
    }
    Err << kProgram << ": " << e.what() << "\nTry '" << kProgram << " batch --help'.\n";
    return 2;
  }
  try {
    Plan = PlanBatch(O, 1);
  } catch (const TDesignError& e) {
    Err << "error: " << e.what() << '\n';
    return 2;
  }
  try {
    // Under mpirun a terminal's stderr is a pipe here; the launcher passes the line on.
    const bool terminal = isatty(2) || std::getenv("OMPI_COMM_WORLD_SIZE") != nullptr;
    Session.emplace(O, Plan, TRunInfo{UtcNow(), "", Plan.Jobs, HostName(), Ranks}, Err, &Err == &std::cerr && terminal);
  } catch (const std::exception& e) {
    Err << "error: " << e.what() << '\n';
    return 1;
  }
  return kGoOn;
}

}  // namespace

std::string ComputePhase(const TDistributedStats& Stats, size_t Rows, int Ranks, int Jobs) {
  const double seconds = Stats.ComputeSeconds;
  return "compute phase " + FormatFixed(seconds, 3) + " s, " + std::to_string(Rows) + " rows, " +
         FormatFixed(seconds > 0 ? static_cast<double>(Rows) / seconds : 0.0, 1) + " rows/s, " + std::to_string(Ranks) +
         (Ranks == 1 ? " rank x " : " ranks x ") + std::to_string(Jobs) + (Jobs == 1 ? " job" : " jobs") +
         ", rank 0 handing out and gathering " + FormatFixed(seconds > 0 ? 100 * Stats.BusySeconds / seconds : 0.0, 2) +
         "%";
}

int RunMpiCli(int argc, char** argv, std::ostream& Out, std::ostream& Err) {
  TMpi mpi(argc, argv);
  const bool root = mpi.Rank() == 0;
  TBatchOptions options;
  TBatchPlan plan;
  std::optional<TBatchSession> session;
  std::optional<TStopSignals> signals;  // rank 0's; the others end as the launcher says
  int status = kGoOn;
  if (root) {
    signals.emplace();
    status = Prepare(argc, argv, options, plan, session, mpi.Size(), Out, Err);
    Err.flush();
  }
  mpi.Broadcast(status);
  if (status != kGoOn) return status;

  // The other ranks take the experiment from rank 0 as experiment.json states it.
  std::string json = root ? ExperimentJson(plan.Design, ProgramVersion(), {}) : "";
  int jobs = plan.Jobs;
  mpi.Broadcast(json);
  mpi.Broadcast(jobs);
  const TExperimentDesign design = root ? plan.Design : ReadExperimentJson(json).Design;

  TDistributedRun run;
  run.Run = RepeatRunner(design, mpi.Rank());
  run.Jobs = jobs;
  if (root) {
    run.Todo = session->Todo();
    run.Write = [&](const TRepeatLines& Lines) { session->Write(Lines); };
    run.Idle = [&] { session->Idle(); };
    run.Stop = &TStopSignals::Stop();
  }
  TDistributedStats stats;
  try {
    stats = RunDistributed(mpi, run);
  } catch (const std::exception& e) {  // rank 0 only
    if (session) session->EndProgress();
    Err << "error: " << e.what() << '\n' << std::flush;
    TMpi::Abort(1);
  }
  if (!root) return 0;

  session->EndProgress();
  if (stats.Stopped) {
    status = ReportStopped(kProgram, options, session->Done(), session->Total(), Err);
    Err.flush();
    if (mpi.Size() > 1) TMpi::Abort(status);
    return status;
  }
  try {
    const std::string phase = ComputePhase(stats, stats.Written * design.Methods.size(), mpi.Size(), jobs);
    if (!options.Quiet) Err << kProgram << ": " << phase << '\n' << std::flush;
    session->SetComputePhase({stats.ComputeSeconds, static_cast<int64_t>(stats.Written * design.Methods.size()),
                              stats.ComputeSeconds > 0 ? stats.BusySeconds / stats.ComputeSeconds : 0.0});
    session->Finish(Out);
  } catch (const std::exception& e) {
    Err << "error: " << e.what() << '\n';
    return 1;
  }
  return 0;
}

}  // namespace zp::cli::mpi
