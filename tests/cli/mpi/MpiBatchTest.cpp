// Rank 0's compute-phase line reads the same for every user: nqueens-ga-mpi
// may draw charts, and once Qt has started the C library follows the user's
// locale.
#include <gtest/gtest.h>

#include "CommaLocale.h"
#include "cli/mpi/Distributed.h"
#include "cli/mpi/MpiBatch.h"

namespace zp::cli::mpi {
namespace {

TEST(MpiBatch, ComputePhaseLineIsTheSameUnderACommaLocale) {
  ZP_ENTER_COMMA_LOCALE();
  TDistributedStats stats;
  stats.ComputeSeconds = 12.3456;
  stats.BusySeconds = 0.0246912;
  EXPECT_EQ(ComputePhase(stats, 800, 2, 1),
            "compute phase 12.346 s, 800 rows, 64.8 rows/s, 2 ranks x 1 job, rank 0 handing out and gathering 0.20%");
  stats.ComputeSeconds = 0.0523;
  stats.BusySeconds = 0.05;
  EXPECT_EQ(ComputePhase(stats, 5, 1, 3),
            "compute phase 0.052 s, 5 rows, 95.6 rows/s, 1 rank x 3 jobs, rank 0 handing out and gathering 95.60%");
  EXPECT_EQ(ComputePhase(TDistributedStats{}, 0, 1, 1),
            "compute phase 0.000 s, 0 rows, 0.0 rows/s, 1 rank x 1 job, rank 0 handing out and gathering 0.00%");
}

}  // namespace
}  // namespace zp::cli::mpi
