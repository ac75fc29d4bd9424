#include "classlib/message_box_win.h"

#include <vector>

namespace classlib {
namespace {
HWND g_mainWindow = nullptr;
}

std::wstring AppCaption() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return L"";
    if (n < path.size()) break;
    path.resize(path.size() * 2);
  }
  std::wstring name(path.data());
  size_t slash = name.find_last_of(L"\\/");
  if (slash != std::wstring::npos) name.erase(0, slash + 1);
  size_t dot = name.find_last_of(L'.');
  if (dot != std::wstring::npos) name.erase(dot);
  return name;
}

void ShowMessage(HWND owner, const std::wstring& text) {
  MessageBoxW(owner, text.c_str(), AppCaption().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

bool AskYesNo(HWND owner, const std::wstring& text) {
  return MessageBoxW(owner, text.c_str(), AppCaption().c_str(), MB_YESNO | MB_ICONQUESTION) ==
         IDYES;
}

HWND MainWindow() { return g_mainWindow; }
void SetMainWindow(HWND window) { g_mainWindow = window; }

}  // namespace classlib
