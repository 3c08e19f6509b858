#include "cli/BatchCommand.h"

#include <unistd.h>

#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/BatchSession.h"
#include "experiment/ExperimentFolder.h"
#include "experiment/Runner.h"

namespace zp::cli {

CLI::App* AddBatchCommand(CLI::App& App, TBatchOptions& O) {
  CLI::App* batch = App.add_subcommand("batch", "many repeats of the comparison run, on all cores, into a folder");
  batch
      ->add_option("--problem", O.Problem,
                   "problems, each run at every size (default nqueens): nqueens,\nonemax, leadingones, jump:K")
      ->type_name("LIST");
  batch
      ->add_option("--sizes", O.Sizes,
                   "sizes and ranges (default 8): 8,10-12; nqueens 4 to 32, onemax\nand leadingones 2 to 4096, "
                   "jump:K 4 to 4096 and above 2K")
      ->type_name("LIST");
  batch->add_option("--queens", O.Queens, "the sizes of nqueens alone, 4 to 32: 8,10-12")->type_name("LIST");
  batch->add_option("--repeats", O.Repeats, "repeats per problem and size (default 30, at most 2^24)")->type_name("R");
  batch->add_option("--generations", O.Generations, "generations per method (default 100)")->type_name("G");
  batch
      ->add_option(
          "--evaluations", O.Evaluations,
          "the budget in evaluations instead of generations: E or Kn (K times\nthe size); each configuration runs "
          "floor(E / population) - 1 generations")
      ->type_name("E");
  const char* const setting_help[] = {
      "populations: integers >= 2 or Kn (default 4n)",
      "crossover probabilities (default 0.98)",
      "mutation probabilities, or K/L: K over the chromosome's bits (default 1/L)",
      "inversion probabilities (default 0.1)",
      "tournament fields, >= 2 (default 4)",
      "elitist shares, 0 to below 1 (default 0.1)",
      "crossover methods: cmGeneBoundary (default), cmBitBoundary, cmByteBoundary,\ncmWordBoundary, "
      "cmLongwordBoundary"};
  for (size_t i = 0; i < queens::kSettingCount; ++i)
    batch->add_option("--" + std::string(queens::kSettingNames[i]), O.Settings[i], setting_help[i])->type_name("LIST");
  batch->add_option("--seed", O.Seed, "the experiment's seed, decimal or 0x hex (default 0)")->type_name("S");
  batch->add_option("--streams", O.Streams, "continued (default) or shared random numbers")
      ->type_name("continued|shared");
  batch
      ->add_option("--methods", O.Methods,
                   "methods written (default all): smRoulette ... or roulette,\nrandom, tournament, stochastic, "
                   "elitist")
      ->type_name("LIST");
  batch
      ->add_option("--label", O.Label,
                   "the experiment's name in the IOHprofiler files (default: the --out\nfolder's name)")
      ->type_name("TEXT");
  batch->add_option("--jobs", O.Jobs, "worker threads (default: the hardware threads)")->type_name("J");
  batch->add_option("--out", O.Out, "the experiment's folder (default experiment)")->type_name("DIR");
  batch->add_flag("--resume", O.Resume, "go on with the experiment in --out");
  batch->add_flag("--quiet", O.Quiet, "no progress line");
  batch->footer(
      "A repeat r of N queens is the comparison run of 'nqueens-ga --seed SEED -q N -e \"run G\"',\n"
      "one of another problem 'nqueens-ga --seed SEED -e \"problem NAME SIZE; run G\"'\n"
      "(with \"streams shared;\" first for shared streams), SEED being the row's seed.\n"
      "The setting lists' product is the configurations, numbered from 0 with the last\n"
      "option varying fastest; every configuration of a repeat starts from its seed.\n"
      "Exit status: 0 done, 1 a write failed, 2 bad input (nothing written), 130/143 stopped\n"
      "by SIGINT/SIGTERM (whole rows kept; --resume goes on).");
  return batch;
}

int RunBatch(const TBatchOptions& O, std::ostream& Out, std::ostream& Err) {
  TBatchPlan plan;
  try {
    plan = PlanBatch(O, HardwareJobs());
  } catch (const experiment::TDesignError& e) {
    Err << "error: " << e.what() << '\n';
    return 2;
  }
  TStopSignals signals;
  size_t done = 0, total = experiment::RepeatKeys(plan.Design).size();
  try {
    TBatchSession session(O, plan, {experiment::UtcNow(), "", plan.Jobs, HostName()}, Err,
                          &Err == &std::cerr && isatty(2));
    experiment::RunRepeats(
        plan.Design, session.Todo(), plan.Jobs, TStopSignals::Stop(),
        [&](experiment::TRepeatResult& result) { session.Write(result); }, [&] { session.Idle(); }, 250,
        [&](const std::string& note) { Err << "note: " << note << '\n'; });
    session.EndProgress();
    done = session.Done();
    if (!TStopSignals::Stop()) {
      session.Finish(Out);
      return 0;
    }
  } catch (const std::exception& e) {
    Err << "error: " << e.what() << '\n';
    return 1;
  }
  return ReportStopped("nqueens-ga", O, done, total, Err);
}

}  // namespace zp::cli
