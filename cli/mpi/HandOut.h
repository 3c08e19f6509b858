// Rank 0's share-out of an experiment's repeats: numbered in key order, given
// in chunks that shrink as the end nears (a rank ahead takes more, none is
// left holding many at the end), never further ahead of the writer than a
// window, so that the repeats waiting to be written stay few.
//
//   THandOut h(1000, 8);          // 1000 repeats, 8 worker threads in all
//   auto [first, count] = h.Next(1, delivered);  // count 0: wait for the writer
#pragma once

#include <cstddef>
#include <utility>

namespace zp::cli::mpi {

class THandOut {
 public:
  // Total repeats; Threads worker threads over all ranks; chunks of at most MaxChunk.
  THandOut(size_t Total, size_t Threads, size_t MaxChunk = 8);

  // The next repeats, [first, first + count), for a rank that can start Want
  // now: at least Want (while any are left), more while many are left; count 0
  // when all are handed out or when Delivered (repeats written) lags a window behind.
  std::pair<size_t, size_t> Next(size_t Want, size_t Delivered);
  bool AllHandedOut() const { return next_ >= total_; }
  size_t HandedOut() const { return next_; }

 private:
  size_t total_, threads_, max_chunk_, window_, next_ = 0;
};

}  // namespace zp::cli::mpi
