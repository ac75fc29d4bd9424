// Answers the message boxes that code under test shows in the test program's own process, and
// records their texts: the code runs on the test's thread, blocked in MessageBoxW, while a
// watcher thread finds each box, reads it and presses its default button.
//
//   MessageBoxCatcher boxes;
//   EXPECT_FALSE(CheckPort(...));
//   EXPECT_EQ(boxes.Texts(), (std::vector<std::wstring>{L"Please check the connection！"}));
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

class MessageBoxCatcher {
 public:
  MessageBoxCatcher();
  ~MessageBoxCatcher();
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

  // The texts of the boxes answered so far, in order.
  std::vector<std::wstring> Texts() const;

 private:
  static unsigned __stdcall Watch(void* self);
  void Answer(HWND box);

  HANDLE thread_ = nullptr;
  HANDLE stop_ = nullptr;
  mutable CRITICAL_SECTION lock_;
  std::vector<std::wstring> texts_;
};

}  // namespace testsupport
