#pragma once
// Work on a thread of its own, so that no window freezes while it runs; the
// object waits for its end before it goes.
#include <windows.h>

namespace trellan {

class WorkerThread {
 public:
  // Runs work(context).
  WorkerThread(void (*work)(void*), void* context);
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Signalled when the work has ended (for MsgWaitForMultipleObjects); null
  // when no thread could be started, and then the work has run already.
  HANDLE handle() const { return thread_; }
  bool Done() const;

 private:
  static DWORD WINAPI Run(void* self);

  void (*work_)(void*);
  void* context_;
  HANDLE thread_ = nullptr;
};

}  // namespace trellan
