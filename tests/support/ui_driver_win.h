// Drives the real tool's dialog from a Windows test program under Wine, the way a user would:
//
//   auto tool = Tool::Start({L"en_US", L"win10"});
//   tool.Click(1034);
//   EXPECT_EQ(tool.Text(1008), L"...");
//   auto box = tool.WaitForMessageBox();
//   EXPECT_EQ(box.Text(), L"...");
//   box.Answer(IDOK);
//   tool.Close();
//   EXPECT_TRUE(tool.WaitForExit());
//
// Every wait is bounded (kDefaultWaitMs unless given). Whatever the test needs and cannot find
// (a control, a message box, the dialog itself) throws UiError with a message that names it;
// GoogleTest reports the exception as the test's failure. A Tool ends its process when it goes
// out of scope, so a failed test leaves nothing running.
//
// Actions return once the dialog has handled them, or once the handler opened a modal window
// (a message box disables the dialog), or the process ended.
//
// Language: Wine takes the interface language from the Unix locale of the process when it
// starts, not from the environment block given to CreateProcessW; a Windows child inherits its
// parent's. So the tool is started through the Wine loader as a host command (host_win.h) with
// LANG and LC_ALL set, and then found among the processes by its executable name.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "support/dialog_template.h"
#include "support/host_win.h"
#include "support/windows_version_win.h"

namespace testsupport {

constexpr DWORD kDefaultWaitMs = 10000;

class UiError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A top-level window of the tool's process (its dialog, a message box) and its controls, found
// by control id. Reading works on hidden and disabled controls; the actions do what a user can
// do and throw for a control a user cannot reach.
class Window {
 public:
  Window() = default;
  Window(HWND window, DWORD processId) : hwnd_(window), pid_(processId) {}

  HWND Handle() const { return hwnd_; }
  DWORD ProcessId() const { return pid_; }
  bool Exists() const { return hwnd_ && IsWindow(hwnd_); }
  std::wstring Caption() const;  // the window title
  bool IsVisible() const;
  RECT ScreenRect() const;

  // Controls. Control() throws when the id does not exist; Has() only asks.
  HWND Control(int id) const;
  bool Has(int id) const;
  std::wstring Text(int id) const;  // WM_GETTEXT (edit and combo texts of another process too)
  bool Visible(int id) const;       // the control's own visible style
  bool Enabled(int id) const;
  int CheckState(int id) const;  // BST_UNCHECKED, BST_CHECKED or BST_INDETERMINATE
  bool Checked(int id) const { return CheckState(id) == BST_CHECKED; }
  std::wstring ClassName(int id) const;  // "Button", "Static", "ComboBox", ...
  // GWL_STYLE as the control has it now. Not always the template's: a combo box drops
  // WS_VSCROLL, and its list shows the bit only while a scroll bar is needed.
  LONG Style(int id) const;
  RECT Rect(int id) const;              // in the window's client coordinates, pixels
  std::vector<int> ControlIds() const;  // all child controls in template (tab) order
  std::vector<int> VisibleControlIds() const;

  // Combo boxes.
  std::vector<std::wstring> Entries(int id) const;
  int Selection(int id) const;  // -1 when nothing is selected
  std::wstring SelectedEntry(int id) const;

  // User actions.
  // BM_CLICK; the control must be visible and enabled. `handlerMs`: how long the dialog may
  // take over it before the action fails (a handler that opens a message box returns at once).
  void Click(int id, DWORD handlerMs = kDefaultWaitMs);
  // What the dialog receives when the control is clicked (WM_COMMAND BN_CLICKED), for controls a
  // user cannot reach; the control's own state (a radio's check) does not change.
  void SendClicked(int id, DWORD handlerMs = kDefaultWaitMs);
  // WM_COMMAND from control `id`.
  void SendCommand(int id, WORD notification, DWORD handlerMs = kDefaultWaitMs);
  // Chooses a combo entry as a user does: the selection changes and the dialog gets
  // CBN_SELCHANGE. The text form throws when no entry has that text.
  void Select(int id, int index, DWORD handlerMs = kDefaultWaitMs);
  void Select(int id, const std::wstring& entry, DWORD handlerMs = kDefaultWaitMs);
  void OpenDropDown(int id);  // opens and closes the list (the dialog gets CBN_DROPDOWN)
  // A double-click with the mouse on the control. A static notifies its dialog (STN_DBLCLK)
  // only with the SS_NOTIFY style, as on Windows.
  void DoubleClick(int id);

  // Waits until control `id` shows `text`; false after the time.
  bool WaitForText(int id, const std::wstring& text, DWORD timeoutMs = kDefaultWaitMs) const;

  // Writes a picture of the window as it is on the screen to
  // <build dir>/screenshots/<name>.png and returns that Unix path.
  std::string Screenshot(const std::string& name) const;

 protected:
  // Sends `message` and waits as the actions do (see the top of this file).
  void Deliver(HWND target, UINT message, WPARAM wParam, LPARAM lParam, const std::string& what,
               DWORD handlerMs = kDefaultWaitMs) const;
  std::string Describe() const;  // "dialog 'caption'" for failure messages
  std::string Describe(int id) const;

  HWND hwnd_ = nullptr;
  DWORD pid_ = 0;
};

// A message box of the tool (a dialog with the message in static 0xFFFF).
class MessageBoxWindow : public Window {
 public:
  using Window::Text;
  MessageBoxWindow() = default;
  MessageBoxWindow(HWND window, DWORD processId) : Window(window, processId) {}

  std::wstring Text() const;  // the message

  enum class Icon { None, Exclamation, Question, Error, Information, Other };
  Icon ShownIcon() const;

  struct Button {
    int id;  // IDOK, IDCANCEL, IDYES, IDNO, ...
    std::wstring text;
  };
  std::vector<Button> Buttons() const;  // the visible buttons, left to right
  std::vector<int> ButtonIds() const;

  // Presses the button and waits until the box has closed.
  void Answer(int buttonId);
};

struct ToolOptions {
  // The tool's Unix locale: "en_US", "zh_CN", "ja_JP", "zh_TW" (".UTF-8" is added) or a full
  // name; empty: the locale the test program runs in.
  std::wstring language;
  // win2k, winxp, win2003, vista, win7, win8, win81, win10, win11 (windows_version_win.h);
  // empty: the prefix's version (Windows 10 in the bed).
  std::wstring windows;
  // Unix path of the program; empty: the tool built beside the test programs.
  std::string exe;
  DWORD timeoutMs = kDefaultWaitMs;  // for the dialog to appear
};

// The running tool; as a Window it is the tool's main dialog.
class Tool : public Window {
 public:
  // Starts the program and waits for its dialog; throws UiError when it does not appear.
  static Tool Start(const ToolOptions& options = {});

  Tool(Tool&& other) noexcept;
  Tool& operator=(Tool&&) = delete;
  ~Tool();  // ends the process if it still runs, then restores the Windows version

  bool Running() const;
  DWORD ExitCode() const;  // STILL_ACTIVE while running
  bool WaitForExit(DWORD timeoutMs = kDefaultWaitMs);
  void Kill();
  std::string Output() const;  // what Wine printed for the process

  // All visible top-level windows of the process, the dialog first.
  std::vector<Window> Windows() const;
  bool HasMessageBox() const;
  // Waits for a message box of the process; throws UiError after the time.
  MessageBoxWindow WaitForMessageBox(DWORD timeoutMs = kDefaultWaitMs) const;

  void Close();        // the close box (WM_SYSCOMMAND SC_CLOSE)
  void PressEscape();  // the Escape key, through the dialog's keyboard handling
  void PressEnter();   // the Enter key, likewise

 private:
  Tool() = default;
  void PressKey(WPARAM key);

  HANDLE process_ = nullptr;
  HostProcess loader_;
  WindowsVersionOverride version_;
};

// Dialog template `id` as stored in the executable (read as data, so a 32-bit .exe works from
// a 64-bit test too); throws UiError when it has none.
DialogTemplate LoadDialogTemplate(const std::string& exeUnixPath, int id);

// The Unix path of the tool and of the small dialog program the driver's own tests use.
std::string ToolExeUnix();
std::string SampleDialogExeUnix();

// <build dir>/screenshots/<name>.png as a Unix path (the folder is created).
std::string ScreenshotPathUnix(const std::string& name);

// UTF-8 for failure messages and file names.
std::string Narrow(const std::wstring& text);

}  // namespace testsupport
