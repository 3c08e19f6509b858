// A rank's worker threads: every queued repeat comes back once, as many can
// start as threads are idle, and a failure is kept and stops the rest.
#include <gtest/gtest.h>

#include <algorithm>
#include <new>

#include "cli/mpi/LocalWorkers.h"

namespace {

using namespace zp::cli::mpi;
using namespace zp::experiment;
using namespace std::chrono_literals;

TRepeatLines Stub(TRepeatKey Key, std::stop_token) {
  return {Key, std::to_string(Key.Queens) + "," + std::to_string(Key.Repeat) + "\n", "", 0};
}

std::vector<TFinishedRepeat> WaitFor(TLocalWorkers& w, size_t count) {
  std::vector<TFinishedRepeat> all;
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (all.size() < count && std::chrono::steady_clock::now() < deadline) {
    w.Wait(10ms);
    for (TFinishedRepeat& f : w.TakeFinished()) all.push_back(std::move(f));
  }
  return all;
}

TEST(TLocalWorkers, EveryQueuedRepeatComesBackOnce) {
  TLocalWorkers w(3, Stub);
  EXPECT_EQ(w.Want(), 3u);
  std::vector<TNumberedKey> keys;
  for (size_t i = 0; i < 50; ++i) keys.push_back({i, {8, static_cast<int32_t>(i)}});
  w.Add(keys);
  std::vector<TFinishedRepeat> done = WaitFor(w, 50);
  ASSERT_EQ(done.size(), 50u);
  std::sort(done.begin(), done.end(), [](auto& a, auto& b) { return a.Index < b.Index; });
  for (size_t i = 0; i < 50; ++i) EXPECT_EQ(done[i].Lines.Runs, "8," + std::to_string(i) + "\n");
  EXPECT_FALSE(w.Busy());
  EXPECT_EQ(w.Want(), 3u);
}

TEST(TLocalWorkers, AFailureIsKeptAndNothingMoreIsWanted) {
  TLocalWorkers w(2, [](TRepeatKey Key, std::stop_token Halt) {
    if (Key.Repeat == 1) throw std::bad_alloc();
    return Stub(Key, Halt);
  });
  w.Add({{0, {8, 0}}, {1, {8, 1}}});
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!w.Failure() && std::chrono::steady_clock::now() < deadline) w.Wait(10ms);
  ASSERT_TRUE(w.Failure());
  EXPECT_EQ(*w.Failure(), "std::bad_alloc");
  EXPECT_EQ(w.Want(), 0u);
}

}  // namespace
