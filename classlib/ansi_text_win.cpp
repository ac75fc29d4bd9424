#include "classlib/ansi_text_win.h"

#include <windows.h>

namespace classlib {

std::wstring AnsiToWide(std::string_view text) {
  if (text.empty()) return L"";
  int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), size, nullptr, 0);
  if (length <= 0) return L"";
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_THREAD_ACP, 0, text.data(), size, &wide[0], length);
  return wide;
}

std::string WideToAnsi(const std::wstring& text) {
  if (text.empty()) return "";
  int size = static_cast<int>(text.size());
  int length =
      WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return "";
  std::string narrow(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_THREAD_ACP, 0, text.data(), size, &narrow[0], length, nullptr, nullptr);
  return narrow;
}

}  // namespace classlib
