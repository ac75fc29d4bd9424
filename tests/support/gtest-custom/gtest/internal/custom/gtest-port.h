// GoogleTest's hook for platform pieces, searched before GoogleTest's own include folder.
//
// The win32 thread model of MinGW has no std::mutex or std::condition_variable, which
// GoogleTest's Notification is built on; this one waits on a manual-reset Win32 event instead.
// Toolchains with std::mutex (native, MinGW posix) keep GoogleTest's own.
#ifndef TESTS_SUPPORT_GTEST_CUSTOM_GTEST_PORT_H_
#define TESTS_SUPPORT_GTEST_CUSTOM_GTEST_PORT_H_

#include <cstddef>  // the library configuration, which says whether std::mutex exists

#if defined(_WIN32) && !defined(_GLIBCXX_HAS_GTHREADS)

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

// Lets a controller thread hold newly created threads until it notifies them.
class Notification {
 public:
  Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace internal
}  // namespace testing

#endif  // _WIN32 without std::mutex

#endif  // TESTS_SUPPORT_GTEST_CUSTOM_GTEST_PORT_H_
