#include "platform/framework/thread.h"

#include <pthread.h>
#include <sched.h>

TThread::~TThread() {
  Terminate();
  WaitFor();
}

void TThread::Resume() {
  bool expected = false;
  if (FStarted.compare_exchange_strong(expected, true)) {
    FThread = std::thread([this] { Run(); });
    if (FPriority != TThreadPriority::tpNormal) SetPriority(FPriority);
  }
}

void TThread::Run() { Execute(); }

void TThread::WaitFor() {
  if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id()) FThread.join();
}

namespace {

bool applyPriority(pthread_t thread, TThreadPriority priority) {
  sched_param param{};
  int policy = SCHED_OTHER;
  if (priority >= TThreadPriority::tpHighest) {
    policy = SCHED_FIFO;
    param.sched_priority = priority == TThreadPriority::tpTimeCritical ? sched_get_priority_max(SCHED_FIFO)
                                                                       : sched_get_priority_min(SCHED_FIFO);
  }
  return pthread_setschedparam(thread, policy, &param) == 0;
}

}  // namespace

void TThread::SetPriority(TThreadPriority priority) {
  FPriority = priority;
  if (FThread.joinable()) applyPriority(FThread.native_handle(), priority);
}

bool TThread::SetCurrentThreadPriority(TThreadPriority priority) {
  return applyPriority(pthread_self(), priority);
}
