// The application's message box: captioned with the executable's base name, as every message of
// the tool is.
#pragma once

#include <windows.h>

#include <string>

namespace classlib {

// The caption: the executable's file name without folder and extension.
std::wstring AppCaption();

// OK button with the exclamation icon.
void ShowMessage(HWND owner, const std::wstring& text);

// Yes and No buttons with the question icon; true when the answer is Yes.
bool AskYesNo(HWND owner, const std::wstring& text);

// The message box's owner for operations that are not given a window: the application's main
// window (the dialog) once it exists, else none.
HWND MainWindow();
void SetMainWindow(HWND window);

}  // namespace classlib
