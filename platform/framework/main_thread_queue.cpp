#include "platform/framework/main_thread_queue.h"

#include <utility>

void TMainThreadQueue::Post(std::function<void()> callback) {
  std::lock_guard lock(FMutex);
  FPending.push_back(std::move(callback));
}

int TMainThreadQueue::RunPending() {
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard lock(FMutex);
    batch.swap(FPending);
  }
  int ran = 0;
  while (!batch.empty()) {
    auto callback = std::move(batch.front());
    batch.pop_front();
    try {
      callback();
    } catch (...) {
      // The rest of the batch keeps its place ahead of anything newer, so a
      // throwing callback loses nothing but itself.
      std::lock_guard lock(FMutex);
      FPending.insert(FPending.begin(), std::make_move_iterator(batch.begin()),
                      std::make_move_iterator(batch.end()));
      throw;
    }
    ++ran;
  }
  return ran;
}

TMainThreadQueue& MainThreadQueue() {
  static TMainThreadQueue queue;
  return queue;
}
