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
  for (auto& callback : batch) callback();
  return static_cast<int>(batch.size());
}

TMainThreadQueue& MainThreadQueue() {
  static TMainThreadQueue queue;
  return queue;
}
