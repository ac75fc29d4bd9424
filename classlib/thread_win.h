// A worker thread and the lock that guards what it shares with the interface thread.
#pragma once

#include <windows.h>

namespace classlib {

class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&section_); }
  ~CriticalSection() { DeleteCriticalSection(&section_); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;
  void Enter() { EnterCriticalSection(&section_); }
  void Leave() { LeaveCriticalSection(&section_); }

 private:
  CRITICAL_SECTION section_;
};

class Lock {
 public:
  explicit Lock(CriticalSection& section) : section_(section) { section_.Enter(); }
  ~Lock() { section_.Leave(); }
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

 private:
  CriticalSection& section_;
};

class WorkerThread {
 public:
  using Procedure = unsigned(__stdcall*)(void*);
  WorkerThread() = default;
  ~WorkerThread();
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts a thread of normal priority with the default stack; a finished earlier thread's handle
  // is released first.
  bool Start(Procedure procedure, void* argument);
  // Waits for the thread to end; false when it is still running after timeoutMs.
  bool Join(DWORD timeoutMs);
  bool Running() const;

 private:
  HANDLE thread_ = nullptr;
};

}  // namespace classlib
