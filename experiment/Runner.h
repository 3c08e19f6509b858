// Running an experiment's repeats: one repeat is the run core's comparison run
// from a fresh component with the repeat's seed; many repeats run on
// worker threads, each with its own workbench and random source, and reach one
// writer in key order, whatever order they finish in.
//
//   std::atomic<bool> stop{false};
//   RunRepeats(design, RepeatKeys(design), 4, stop, [&](TRepeatResult& r) { Write(r); });
#pragma once

#include <atomic>
#include <functional>
#include <span>
#include <stop_token>
#include <vector>

#include "experiment/ExperimentDesign.h"
#include "experiment/RepeatPool.h"
#include "experiment/RunRow.h"
#include "experiment/Traces.h"

namespace zp::experiment {

struct TRepeatResult {
  TRepeatKey Key;
  std::string Problem;  // the name of Key's problem
  uint32_t Seed = 0;
  std::vector<TRunRow> Rows;      // one per written method, in the workbench's order
  std::vector<TRunTrace> Traces;  // the same runs' improvements, generation 0 first
  double Seconds = 0;             // wall time of the repeat
};

// Repeat Key of Design, run on the calling thread. The run core looks at Stop
// between generations and inside them; raises TRepeatStopped once it saw a request.
TRepeatResult RunRepeat(const TExperimentDesign& Design, TRepeatKey Key, std::stop_token Stop = {});

// Runs Todo (in key order) on Jobs worker threads of a TRepeatPool (at least one) and calls
// Deliver on the calling thread once per repeat, in Todo's order. Returns when
// all are delivered or, once Stop is true, as soon as the running repeats are
// abandoned (later ones are not delivered). Idle is called on the calling thread
// once the workers have started, and then about every PollMs while it waits. An exception from Deliver or a worker
// stops the rest and is raised here after the workers have ended.
// When the system starts fewer threads than Jobs, the repeats run on those it
// started and Note is told "started T of J worker threads (REASON); going on with
// them"; when it starts none, std::system_error is raised before any repeat runs.
void RunRepeats(const TExperimentDesign& Design, const TRepeatList& Todo, int Jobs, const std::atomic<bool>& Stop,
                const std::function<void(TRepeatResult&)>& Deliver, const std::function<void()>& Idle = {},
                int PollMs = 250, const std::function<void(const std::string&)>& Note = {},
                const TRepeatPool<TRepeatResult>::TStartThread& StartThread = {});

}  // namespace zp::experiment
