#include "classlib/thread_win.h"

#include <process.h>

namespace classlib {

WorkerThread::~WorkerThread() {
  if (thread_) CloseHandle(thread_);
}

bool WorkerThread::Start(Procedure procedure, void* argument) {
  if (thread_) {
    CloseHandle(thread_);
    thread_ = nullptr;
  }
  uintptr_t handle = _beginthreadex(nullptr, 0, procedure, argument, 0, nullptr);
  thread_ = reinterpret_cast<HANDLE>(handle);
  return thread_ != nullptr;
}

bool WorkerThread::Join(DWORD timeoutMs) {
  if (thread_ == nullptr) return true;
  return WaitForSingleObject(thread_, timeoutMs) == WAIT_OBJECT_0;
}

bool WorkerThread::Running() const {
  return thread_ != nullptr && WaitForSingleObject(thread_, 0) == WAIT_TIMEOUT;
}

}  // namespace classlib
