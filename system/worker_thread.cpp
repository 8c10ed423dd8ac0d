#include "system/worker_thread.h"

namespace trellan {

WorkerThread::WorkerThread(void (*work)(void*), void* context) : work_(work), context_(context) {
  thread_ = CreateThread(nullptr, 0, &WorkerThread::Run, this, 0, nullptr);
  if (!thread_) work_(context_);  // no thread to be had: the work runs here
}

WorkerThread::~WorkerThread() {
  if (!thread_) return;
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
}

bool WorkerThread::Done() const {
  return !thread_ || WaitForSingleObject(thread_, 0) == WAIT_OBJECT_0;
}

DWORD WINAPI WorkerThread::Run(void* self) {
  const WorkerThread& thread = *static_cast<WorkerThread*>(self);
  thread.work_(thread.context_);
  return 0;
}

}  // namespace trellan
