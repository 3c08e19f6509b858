// The repeat pool every front end runs repeats on: every queued repeat comes
// back once, as many can start as threads are idle, a failure is kept and
// stops the rest, and a stop abandons the running repeats and skips the queued.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <string>
#include <system_error>

#include "experiment/RepeatPool.h"

namespace {

using namespace zp::experiment;
using namespace std::chrono_literals;
using TPool = TRepeatPool<std::string>;

std::string Stub(TRepeatKey Key, std::stop_token) {
  return std::to_string(Key.Size) + "," + std::to_string(Key.Repeat);
}

std::vector<TPool::TFinished> WaitFor(TPool& pool, size_t count) {
  std::vector<TPool::TFinished> all;
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (all.size() < count && std::chrono::steady_clock::now() < deadline) {
    pool.Wait(10ms);
    for (TPool::TFinished& f : pool.TakeFinished()) all.push_back(std::move(f));
  }
  return all;
}

TEST(TRepeatPool, EveryQueuedRepeatComesBackOnce) {
  TPool pool(3, Stub);
  EXPECT_EQ(pool.Want(), 3u);
  EXPECT_EQ(pool.Want(2), 5u);
  std::vector<TNumberedKey> keys;
  for (size_t i = 0; i < 50; ++i) keys.push_back({i, {0, 8, 0, static_cast<int32_t>(i)}});
  pool.Add(keys);
  std::vector<TPool::TFinished> done = WaitFor(pool, 50);
  ASSERT_EQ(done.size(), 50u);
  std::sort(done.begin(), done.end(), [](auto& a, auto& b) { return a.Index < b.Index; });
  for (size_t i = 0; i < 50; ++i) EXPECT_EQ(done[i].Result, "8," + std::to_string(i));
  EXPECT_FALSE(pool.Busy());
  EXPECT_EQ(pool.Want(), 3u);
}

TEST(TRepeatPool, AFailureIsKeptAndNothingMoreIsWanted) {
  TPool pool(2, [](TRepeatKey Key, std::stop_token Halt) {
    if (Key.Repeat == 1) throw std::bad_alloc();
    return Stub(Key, Halt);
  });
  pool.Add({{0, {0, 8, 0, 0}}, {1, {0, 8, 0, 1}}});
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!pool.Failure() && std::chrono::steady_clock::now() < deadline) pool.Wait(10ms);
  ASSERT_TRUE(pool.Failure());
  EXPECT_EQ(*pool.FailureText(), "std::bad_alloc");
  EXPECT_THROW(std::rethrow_exception(pool.Failure()), std::bad_alloc);
  EXPECT_EQ(pool.Want(), 0u);
}

TEST(TRepeatPool, AStopAbandonsTheRunningRepeatsAndSkipsTheQueued) {
  std::atomic<int> started{0};
  TPool pool(2, [&](TRepeatKey, std::stop_token Halt) -> std::string {
    ++started;
    while (!Halt.stop_requested()) std::this_thread::sleep_for(1ms);
    throw TRepeatStopped();
  });
  std::vector<TNumberedKey> keys;
  for (size_t i = 0; i < 10; ++i) keys.push_back({i, {0, 8, 0, static_cast<int32_t>(i)}});
  pool.Add(keys);
  while (started < 2) std::this_thread::sleep_for(1ms);
  pool.Stop();
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (pool.Busy() && std::chrono::steady_clock::now() < deadline) std::this_thread::sleep_for(1ms);
  EXPECT_FALSE(pool.Busy());
  EXPECT_EQ(started, 2);
  EXPECT_TRUE(pool.TakeFinished().empty());  // an abandoned repeat comes back as nothing
  EXPECT_FALSE(pool.Failure());
}

}  // namespace

namespace {

// A system that starts only Limit threads.
zp::experiment::TRepeatPool<std::string>::TStartThread StartAtMost(int Limit) {
  auto started = std::make_shared<int>(0);
  return [=](std::function<void()> Body) {
    if (++*started > Limit) throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
    return std::jthread(std::move(Body));
  };
}

TEST(TRepeatPool, GoesOnWithTheThreadsTheSystemGaveAndRefusesWithNone) {
  TPool pool(8, Stub, StartAtMost(3));
  EXPECT_EQ(pool.Threads(), 3u);
  EXPECT_FALSE(pool.ThreadError().empty());
  EXPECT_EQ(pool.Want(), 3u);
  std::vector<TNumberedKey> keys;
  for (size_t i = 0; i < 20; ++i) keys.push_back({i, {6, static_cast<int32_t>(i)}});
  pool.Add(keys);
  EXPECT_EQ(WaitFor(pool, 20).size(), 20u);
  EXPECT_THROW(TPool(4, Stub, StartAtMost(0)), std::system_error);
}

}  // namespace
