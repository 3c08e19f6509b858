#include "cli/mpi/HandOut.h"

#include <algorithm>

namespace zp::cli::mpi {

THandOut::THandOut(size_t Total, size_t Threads, size_t MaxChunk)
    : total_(Total),
      threads_(std::max<size_t>(Threads, 1)),
      max_chunk_(std::max<size_t>(MaxChunk, 1)),
      // As far ahead as the threaded runner lets its workers run, and room for a chunk each.
      window_(threads_ * (64 + max_chunk_)) {}

std::pair<size_t, size_t> THandOut::Next(size_t Want, size_t Delivered) {
  if (Want == 0 || AllHandedOut()) return {next_, 0};
  const size_t left = total_ - next_;
  // A quarter of an even share of what is left: big while the end is far.
  const size_t guided = std::min(max_chunk_, (left + 4 * threads_ - 1) / (4 * threads_));
  const size_t room = Delivered + window_ > next_ ? Delivered + window_ - next_ : 0;
  const size_t count = std::min({std::max(Want, guided), left, room});
  const size_t first = next_;
  next_ += count;
  return {first, count};
}

}  // namespace zp::cli::mpi
