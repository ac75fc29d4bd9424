#include "support/message_box_catcher_win.h"

#include <process.h>

namespace testsupport {
namespace {

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  wchar_t className[16] = {};
  GetClassNameW(window, className, 16);
  if (pid == search->processId && lstrcmpW(className, L"#32770") == 0 && IsWindowVisible(window) &&
      GetDlgItem(window, 0xFFFF) != nullptr) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

MessageBoxCatcher::MessageBoxCatcher() {
  InitializeCriticalSection(&lock_);
  stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Watch, this, 0, nullptr));
}

MessageBoxCatcher::~MessageBoxCatcher() {
  SetEvent(stop_);
  WaitForSingleObject(thread_, 5000);
  CloseHandle(thread_);
  CloseHandle(stop_);
  DeleteCriticalSection(&lock_);
}

std::vector<std::wstring> MessageBoxCatcher::Texts() const {
  EnterCriticalSection(&lock_);
  std::vector<std::wstring> texts = texts_;
  LeaveCriticalSection(&lock_);
  return texts;
}

unsigned __stdcall MessageBoxCatcher::Watch(void* self) {
  auto* catcher = static_cast<MessageBoxCatcher*>(self);
  while (WaitForSingleObject(catcher->stop_, 20) == WAIT_TIMEOUT) {
    Search search = {GetCurrentProcessId(), nullptr};
    EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
    if (search.found) catcher->Answer(search.found);
  }
  return 0;
}

void MessageBoxCatcher::Answer(HWND box) {
  wchar_t text[1024] = {};
  GetDlgItemTextW(box, 0xFFFF, text, 1024);
  EnterCriticalSection(&lock_);
  texts_.push_back(text);
  LeaveCriticalSection(&lock_);
  // The default button (OK, or Yes) ends the box; wait until it is gone so that it is read once.
  LRESULT def = SendMessageW(box, DM_GETDEFID, 0, 0);
  WORD id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
  PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
  for (int i = 0; i < 250 && IsWindow(box) && IsWindowVisible(box); ++i) Sleep(20);
}

}  // namespace testsupport
