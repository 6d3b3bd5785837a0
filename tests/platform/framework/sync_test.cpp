#include "platform/framework/sync.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

#include "platform/framework/main_thread_queue.h"
#include "platform/framework/thread.h"

namespace {

TEST(Event, AutoResetConsumesOneSignal) {
  TEvent event;
  EXPECT_EQ(event.WaitFor(0), TWaitResult::wrTimeout);
  event.SetEvent();
  EXPECT_EQ(event.WaitFor(0), TWaitResult::wrSignaled);
  EXPECT_EQ(event.WaitFor(5), TWaitResult::wrTimeout);
}

TEST(Event, WakesAWaitingThread) {
  TEvent event;
  std::thread setter([&] { event.SetEvent(); });
  EXPECT_EQ(event.WaitFor(TEvent::INFINITE), TWaitResult::wrSignaled);
  setter.join();
}

class CountingThread : public TThread {
 public:
  ~CountingThread() override {
    Terminate();
    WaitFor();
  }
  std::atomic<int> loops{0};

 protected:
  void Execute() override {
    while (!Terminated()) {
      loops.fetch_add(1);
      std::this_thread::yield();
    }
  }
};

TEST(Thread, RunsAfterResumeAndStopsOnTerminate) {
  CountingThread thread;
  thread.SetPriority(TThreadPriority::tpTimeCritical);  // refused without privilege: ignored
  EXPECT_EQ(thread.loops.load(), 0) << "created suspended";
  thread.Resume();
  while (thread.loops.load() < 10) std::this_thread::yield();
  thread.Terminate();
  thread.WaitFor();
  const int after = thread.loops.load();
  EXPECT_EQ(thread.loops.load(), after);
}

TEST(MainThreadQueue, RunsPostedCallbacksInOrderOnTheCallingThread) {
  TMainThreadQueue queue;
  std::vector<int> order;
  std::thread poster([&] {
    queue.Post([&] { order.push_back(1); });
    queue.Post([&] { order.push_back(2); });
  });
  poster.join();
  queue.Post([&] {
    queue.Post([&] { order.push_back(4); });
    order.push_back(3);
  });
  EXPECT_EQ(queue.RunPending(), 3);
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(queue.RunPending(), 1);
  EXPECT_EQ(order.back(), 4);
}

TEST(MainThreadQueue, ACallbackThatThrowsKeepsTheRestQueued) {
  TMainThreadQueue queue;
  std::vector<int> order;
  queue.Post([&] { order.push_back(1); });
  queue.Post([] { throw std::runtime_error("boom"); });
  queue.Post([&] { order.push_back(3); });
  EXPECT_THROW(queue.RunPending(), std::runtime_error);
  queue.Post([&] { order.push_back(4); });
  EXPECT_EQ(queue.RunPending(), 2);
  EXPECT_EQ(order, (std::vector<int>{1, 3, 4}));
}

}  // namespace
