// What a rank tells rank 0 and what rank 0 hands out, as bytes for MPI: a
// report carries finished repeats as their runs.csv and traces.csv lines
// (exactly what the files get), how many more repeats the rank can take, or
// the message of a failure; a hand-out is a list of numbered repeats.
//
//   std::string bytes = EncodeReport({.Want = 2, .Finished = {{7, lines}}});
//   TWorkerReport back = DecodeReport(bytes);     // the same report
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "experiment/ExperimentFolder.h"
#include "experiment/RepeatPool.h"

namespace zp::cli::mpi {

// A repeat with its place in the experiment's hand-out order.
using experiment::TNumberedKey;

// A finished repeat (its file lines) and its place in the hand-out order.
using TFinishedRepeat = experiment::TNumberedResult<experiment::TRepeatLines>;

struct TWorkerReport {
  size_t Want = 0;  // repeats the rank can start now; 0 asks for none
  std::vector<TFinishedRepeat> Finished;
  std::optional<std::string> Failure;  // a repeat raised this; the rank stops
  size_t Ahead = 0;  // more it would queue while its threads are busy, so that none waits for an answer
};

std::string EncodeReport(const TWorkerReport& Report);
// Raises zp::Exception "bad report: ..." for bytes EncodeReport did not make.
TWorkerReport DecodeReport(std::string_view Bytes);

// A hand-out as five numbers per repeat (index, problem, size, configuration,
// repeat); none means that every repeat is handed out and the rank ends once
// its own are sent.
inline constexpr size_t kHandOutNumbers = 5;
std::vector<int64_t> EncodeHandOut(const std::vector<TNumberedKey>& Keys);
// Raises zp::Exception "bad hand-out" for a count that is not a multiple of five.
std::vector<TNumberedKey> DecodeHandOut(const std::vector<int64_t>& Numbers);

// The answer to a request for repeats ahead only, near the end: none, and ask
// for no more ahead (a rank holding queued repeats while others idle would
// lengthen the end).
std::vector<int64_t> NoMoreAhead();
bool IsNoMoreAhead(const std::vector<int64_t>& Numbers);

}  // namespace zp::cli::mpi
