// The one way from a worker thread to the window: tasks run on the window's
// thread in the order posted, a full queue holds its poster back until the
// window catches up or the queue is released.
#include <gtest/gtest.h>

#include <QObject>
#include <QTest>
#include <atomic>
#include <thread>
#include <vector>

#include "app/WindowQueue.h"

namespace {

using zp::app::TWindowQueue;

TEST(TWindowQueue, RunsTheTasksOnTheWindowsThreadInTheOrderPosted) {
  QObject window;
  TWindowQueue queue(window, 5);
  std::vector<int> seen;
  std::atomic<bool> wrong_thread{false};
  const std::thread::id window_thread = std::this_thread::get_id();
  std::thread worker([&] {
    for (int i = 0; i < 1000; ++i)
      queue.Post([&, i] {
        if (std::this_thread::get_id() != window_thread) wrong_thread = true;
        seen.push_back(i);
      });
  });
  worker.join();
  ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() == 1000; }, 5000));
  EXPECT_FALSE(wrong_thread);
  for (int i = 0; i < 1000; ++i) ASSERT_EQ(seen[static_cast<size_t>(i)], i);
}

TEST(TWindowQueue, AFullQueueHoldsItsPosterUntilReleased) {
  QObject window;
  TWindowQueue queue(window, 0, 2);
  std::atomic<int> posted{0};
  std::thread worker([&] {
    for (int i = 0; i < 5; ++i) {
      queue.Post([] {});
      ++posted;
    }
  });
  // The window's thread runs no events here: the poster stops at the limit.
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(posted, 2);
  queue.Release();
  worker.join();
  EXPECT_EQ(posted, 5);
  // Held again, a poster waits for the window, which lets it through once it runs.
  queue.Hold();
  std::thread again([&] {
    for (int i = 0; i < 3; ++i) queue.Post([] {});
    ++posted;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return posted == 6; }, 5000));
  again.join();
}

}  // namespace
