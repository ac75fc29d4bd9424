#include "support/ui_driver_win.h"

#include <tlhelp32.h>

#include <algorithm>
#include <cstdint>
#include <set>

#include "support/png.h"

#ifndef TOOL_EXE_UNIX
#error "the build defines TOOL_EXE_UNIX and SAMPLE_DIALOG_EXE_UNIX for the Wine test support"
#endif

namespace testsupport {
namespace {

// Cross-process reads block while the tool is busy in a handler; that long means it hangs.
constexpr UINT kReplyMs = 5000;

std::wstring ClassOf(HWND w) {
  wchar_t name[64] = L"";
  GetClassNameW(w, name, 64);
  return name;
}

std::wstring WindowText(HWND w) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(w, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kReplyMs, &length)) {
    return L"";
  }
  std::vector<wchar_t> buffer(length + 2);
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(w, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()),
                      SMTO_ABORTIFHUNG, kReplyMs, &copied);
  return std::wstring(buffer.data(), std::min<size_t>(copied, length + 1));
}

LRESULT Ask(HWND w, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(w, message, wParam, lParam, SMTO_ABORTIFHUNG, kReplyMs, &result)) {
    if (!IsWindow(w)) throw UiError("the window is gone (has the tool ended?)");
    throw UiError("the tool did not answer message " + std::to_string(message) + " within " +
                  std::to_string(kReplyMs) + " ms (busy or hung)");
  }
  return static_cast<LRESULT>(result);
}

// Lets the window's thread repaint everything before its pixels are read.
void PaintNow(HWND w) {
  RedrawWindow(w, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Ask(w, WM_NULL);
  Sleep(300);
  Ask(w, WM_NULL);
}

// The screen's pixels in `r` as RGB; an empty image when they cannot be read.
Image CaptureScreen(const RECT& r) {
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return Image();
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, dib);
  const bool copied =
      bits && BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY | CAPTUREBLT);
  GdiFlush();
  Image image;
  if (copied) {
    image = Image(w, h, 3);
    const auto* bgra = static_cast<const unsigned char*>(bits);
    for (int i = 0; i < w * h; ++i) {
      image.pixels[i * 3 + 0] = bgra[i * 4 + 2];
      image.pixels[i * 3 + 1] = bgra[i * 4 + 1];
      image.pixels[i * 3 + 2] = bgra[i * 4 + 0];
    }
  }
  SelectObject(memory, old);
  DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return image;
}

// How much of `shown` looks like `icon` drawn on the same background (share of equal pixels).
double IconLikeness(const Image& shown, HICON icon) {
  const int w = shown.width, h = shown.height;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(memory, bitmap);
  const std::uint8_t* bg = shown.At(0, 0);
  HBRUSH brush = CreateSolidBrush(RGB(bg[0], bg[1], bg[2]));
  RECT all = {0, 0, w, h};
  FillRect(memory, &all, brush);
  DeleteObject(brush);
  DrawIconEx(memory, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
  int equal = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      COLORREF c = GetPixel(memory, x, y);
      const std::uint8_t* p = shown.At(x, y);
      if (GetRValue(c) == p[0] && GetGValue(c) == p[1] && GetBValue(c) == p[2]) ++equal;
    }
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return w > 0 && h > 0 ? static_cast<double>(equal) / (w * h) : 0.0;
}

struct TopLevel {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND w, LPARAM context) {
  auto* c = reinterpret_cast<TopLevel*>(context);
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  if (pid == c->pid && IsWindowVisible(w)) c->found.push_back(w);
  return TRUE;
}

std::vector<HWND> VisibleTopLevel(DWORD pid) {
  TopLevel c{pid, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&c));
  return c.found;
}

bool IsDialogClass(HWND w) { return ClassOf(w) == L"#32770"; }

HWND MainDialogOf(DWORD pid) {
  for (HWND w : VisibleTopLevel(pid)) {
    if (IsDialogClass(w) && !GetWindow(w, GW_OWNER)) return w;
  }
  return nullptr;
}

bool IsMessageBox(HWND w) { return IsDialogClass(w) && GetDlgItem(w, 0xFFFF) != nullptr; }

// A modal window of the process is up: something other than `dialog` shows, or `dialog` has
// been disabled by its owned window.
bool ModalShown(DWORD pid, HWND dialog, const std::set<HWND>& before) {
  if (dialog && IsWindow(dialog) && !IsWindowEnabled(dialog)) return true;
  for (HWND w : VisibleTopLevel(pid)) {
    if (w != dialog && !before.count(w) && IsDialogClass(w)) return true;
  }
  return false;
}

// Completion flag of one sent message. The reply may come after Deliver gave up waiting (the
// handler was still in a modal loop), so the record is released by whichever side is last.
struct Delivery {
  int owners = 2;
  bool done = false;
  void Release() {
    if (--owners == 0) delete this;
  }
};

VOID CALLBACK DeliveryDone(HWND, UINT, ULONG_PTR context, LRESULT) {
  auto* d = reinterpret_cast<Delivery*>(context);
  d->done = true;
  d->Release();
}

void PumpOwnMessages(DWORD waitMs) {
  MsgWaitForMultipleObjects(0, nullptr, FALSE, waitMs, QS_ALLINPUT);
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

std::string BaseName(const std::string& path) {
  size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::set<DWORD> ProcessesNamed(const std::wstring& exeName) {
  std::set<DWORD> pids;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snap == INVALID_HANDLE_VALUE) return pids;
  PROCESSENTRY32W e = {};
  e.dwSize = sizeof e;
  for (BOOL more = Process32FirstW(snap, &e); more; more = Process32NextW(snap, &e)) {
    if (lstrcmpiW(e.szExeFile, exeName.c_str()) == 0) pids.insert(e.th32ProcessID);
  }
  CloseHandle(snap);
  return pids;
}

}  // namespace

std::string Narrow(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(n, '\0');
  if (n) {
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                        nullptr);
  }
  return out;
}

std::string ToolExeUnix() { return TOOL_EXE_UNIX; }
std::string SampleDialogExeUnix() { return SAMPLE_DIALOG_EXE_UNIX; }

DialogTemplate LoadDialogTemplate(const std::string& exeUnixPath, int id) {
  const std::wstring path = UnixPathToWindows(exeUnixPath);
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) throw UiError(exeUnixPath + " cannot be read as a module");
  std::string data;
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5))) {
    if (const void* bytes = LockResource(LoadResource(module, found))) {
      data.assign(static_cast<const char*>(bytes), SizeofResource(module, found));
    }
  }
  FreeLibrary(module);
  DialogTemplate t;
  if (data.empty() || !ParseDialogTemplate(data, t)) {
    throw UiError(exeUnixPath + " has no readable dialog template " + std::to_string(id));
  }
  return t;
}

std::string ScreenshotPathUnix(const std::string& name) {
  const std::string dir = BinaryDirUnix() + "/screenshots";
  CreateDirectoryW(UnixPathToWindows(dir).c_str(), nullptr);
  return dir + "/" + name + ".png";
}

// ---- Window ----

std::string Window::Describe() const {
  return "window '" + Narrow(Exists() ? WindowText(hwnd_) : L"(gone)") + "' of process " +
         std::to_string(pid_);
}

std::string Window::Describe(int id) const {
  return "control " + std::to_string(id) + " of " + Describe();
}

std::wstring Window::Caption() const { return Exists() ? WindowText(hwnd_) : L""; }
bool Window::IsVisible() const { return Exists() && IsWindowVisible(hwnd_); }

RECT Window::ScreenRect() const {
  RECT r = {};
  GetWindowRect(hwnd_, &r);
  return r;
}

HWND Window::Control(int id) const {
  if (!Exists())
    throw UiError("looking for control " + std::to_string(id) + ": the window is gone");
  HWND c = GetDlgItem(hwnd_, id);
  if (!c) throw UiError(Describe(id) + " does not exist");
  return c;
}

bool Window::Has(int id) const { return Exists() && GetDlgItem(hwnd_, id) != nullptr; }
std::wstring Window::Text(int id) const { return WindowText(Control(id)); }
bool Window::Visible(int id) const {
  return (GetWindowLongW(Control(id), GWL_STYLE) & WS_VISIBLE) != 0;
}
bool Window::Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
int Window::CheckState(int id) const { return static_cast<int>(Ask(Control(id), BM_GETCHECK)); }
std::wstring Window::ClassName(int id) const { return ClassOf(Control(id)); }
LONG Window::Style(int id) const { return GetWindowLongW(Control(id), GWL_STYLE); }

RECT Window::Rect(int id) const {
  RECT r = {};
  GetWindowRect(Control(id), &r);
  MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::vector<int> Window::ControlIds() const {
  std::vector<int> ids;
  if (!Exists()) return ids;
  for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    ids.push_back(GetDlgCtrlID(c));
  }
  return ids;
}

std::vector<int> Window::VisibleControlIds() const {
  std::vector<int> ids;
  for (int id : ControlIds()) {
    if (Visible(id)) ids.push_back(id);
  }
  return ids;
}

std::vector<std::wstring> Window::Entries(int id) const {
  HWND combo = Control(id);
  std::vector<std::wstring> entries;
  const LRESULT count = Ask(combo, CB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    LRESULT length = Ask(combo, CB_GETLBTEXTLEN, i);
    if (length < 0) length = 0;
    std::vector<wchar_t> buffer(length + 2, L'\0');
    Ask(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buffer.data()));
    entries.emplace_back(buffer.data());
  }
  return entries;
}

int Window::Selection(int id) const { return static_cast<int>(Ask(Control(id), CB_GETCURSEL)); }

std::wstring Window::SelectedEntry(int id) const {
  int i = Selection(id);
  std::vector<std::wstring> entries = Entries(id);
  return i >= 0 && i < static_cast<int>(entries.size()) ? entries[i] : L"";
}

void Window::Deliver(HWND target, UINT message, WPARAM wParam, LPARAM lParam,
                     const std::string& what, DWORD handlerMs) const {
  std::set<HWND> before;
  for (HWND w : VisibleTopLevel(pid_)) before.insert(w);
  auto* d = new Delivery;
  if (!SendMessageCallbackW(target, message, wParam, lParam, DeliveryDone,
                            reinterpret_cast<ULONG_PTR>(d))) {
    delete d;
    throw UiError(what + ": the message could not be sent to " + Describe());
  }
  const DWORD begin = GetTickCount();
  for (;;) {
    PumpOwnMessages(10);
    if (d->done || !IsWindow(target) || ModalShown(pid_, hwnd_, before)) break;
    if (GetTickCount() - begin >= handlerMs) {
      d->Release();
      throw UiError(what + ": " + Describe() + " did not finish handling it within " +
                    std::to_string(handlerMs) + " ms");
    }
  }
  d->Release();
}

void Window::Click(int id, DWORD handlerMs) {
  HWND c = Control(id);
  if (!IsWindowVisible(c)) throw UiError(Describe(id) + " is hidden: a user cannot click it");
  if (!IsWindowEnabled(c)) throw UiError(Describe(id) + " is disabled: a user cannot click it");
  Deliver(c, BM_CLICK, 0, 0, "clicking " + Describe(id), handlerMs);
}

void Window::SendCommand(int id, WORD notification, DWORD handlerMs) {
  HWND c = Control(id);
  Deliver(hwnd_, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(c),
          "WM_COMMAND " + std::to_string(notification) + " from " + Describe(id), handlerMs);
}

void Window::SendClicked(int id, DWORD handlerMs) { SendCommand(id, BN_CLICKED, handlerMs); }

void Window::Select(int id, int index, DWORD handlerMs) {
  HWND combo = Control(id);
  if (!IsWindowVisible(combo) || !IsWindowEnabled(combo)) {
    throw UiError(Describe(id) + " is hidden or disabled: a user cannot choose an entry");
  }
  const LRESULT count = Ask(combo, CB_GETCOUNT);
  if (index < 0 || index >= count) {
    throw UiError(Describe(id) + " has no entry " + std::to_string(index) + " (it has " +
                  std::to_string(count) + ")");
  }
  Ask(combo, CB_SETCURSEL, index);
  SendCommand(id, CBN_SELCHANGE, handlerMs);
}

void Window::Select(int id, const std::wstring& entry, DWORD handlerMs) {
  std::vector<std::wstring> entries = Entries(id);
  auto it = std::find(entries.begin(), entries.end(), entry);
  if (it == entries.end()) {
    std::string list;
    for (const auto& e : entries) list += (list.empty() ? "'" : ", '") + Narrow(e) + "'";
    throw UiError(Describe(id) + " has no entry '" + Narrow(entry) + "' (entries: " + list + ")");
  }
  Select(id, static_cast<int>(it - entries.begin()), handlerMs);
}

void Window::OpenDropDown(int id) {
  HWND combo = Control(id);
  if (!IsWindowVisible(combo) || !IsWindowEnabled(combo)) {
    throw UiError(Describe(id) + " is hidden or disabled: a user cannot open it");
  }
  Deliver(combo, CB_SHOWDROPDOWN, TRUE, 0, "opening the list of " + Describe(id));
  Deliver(combo, CB_SHOWDROPDOWN, FALSE, 0, "closing the list of " + Describe(id));
}

void Window::DoubleClick(int id) {
  HWND c = Control(id);
  if (!IsWindowVisible(c)) throw UiError(Describe(id) + " is hidden: a user cannot click it");
  const LPARAM at = MAKELPARAM(2, 2);
  const std::string what = "double-clicking " + Describe(id);
  Deliver(c, WM_LBUTTONDOWN, MK_LBUTTON, at, what);
  Deliver(c, WM_LBUTTONUP, 0, at, what);
  Deliver(c, WM_LBUTTONDBLCLK, MK_LBUTTON, at, what);
  Deliver(c, WM_LBUTTONUP, 0, at, what);
}

bool Window::WaitForText(int id, const std::wstring& text, DWORD timeoutMs) const {
  const DWORD begin = GetTickCount();
  for (;;) {
    if (Text(id) == text) return true;
    if (GetTickCount() - begin >= timeoutMs) return false;
    Sleep(50);
  }
}

std::string Window::Screenshot(const std::string& name) const {
  if (!IsVisible()) throw UiError("screenshot '" + name + "': " + Describe() + " is not shown");
  PaintNow(hwnd_);
  Image image = CaptureScreen(ScreenRect());
  if (image.pixels.empty()) {
    throw UiError("screenshot '" + name + "': the screen could not be read");
  }
  const std::string path = ScreenshotPathUnix(name);
  if (!WriteWholeFile(UnixPathToWindows(path), EncodePng(image))) {
    throw UiError("screenshot '" + name + "': " + path + " could not be written");
  }
  return path;
}

// ---- MessageBoxWindow ----

std::wstring MessageBoxWindow::Text() const { return Text(0xFFFF); }

MessageBoxWindow::Icon MessageBoxWindow::ShownIcon() const {
  // Icon handles are private to the process that loaded them, so the icon is told by its
  // pixels: the box's icon static against each system icon drawn here on the same background.
  HWND icon = GetDlgItem(hwnd_, 0x0440);
  if (!icon || !IsWindowVisible(icon) || !Ask(icon, STM_GETICON)) return Icon::None;
  PaintNow(hwnd_);
  RECT r;
  GetWindowRect(icon, &r);
  Image shown = CaptureScreen(r);
  if (shown.pixels.empty()) return Icon::Other;
  const struct {
    LPCWSTR resource;
    Icon icon;
  } kIcons[] = {{IDI_EXCLAMATION, Icon::Exclamation},
                {IDI_QUESTION, Icon::Question},
                {IDI_HAND, Icon::Error},
                {IDI_ASTERISK, Icon::Information}};
  Icon best = Icon::Other;
  double bestLikeness = 0.95;  // anti-aliased edges may differ a little
  for (const auto& k : kIcons) {
    double likeness = IconLikeness(shown, LoadIconW(nullptr, k.resource));
    if (likeness > bestLikeness) {
      bestLikeness = likeness;
      best = k.icon;
    }
  }
  return best;
}

std::vector<MessageBoxWindow::Button> MessageBoxWindow::Buttons() const {
  std::vector<std::pair<LONG, Button>> found;
  if (!Exists()) return {};
  for (HWND c = GetWindow(hwnd_, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (ClassOf(c) != L"Button" || !IsWindowVisible(c)) continue;
    RECT r;
    GetWindowRect(c, &r);
    found.push_back({r.left, Button{GetDlgCtrlID(c), WindowText(c)}});
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  std::vector<Button> buttons;
  for (auto& f : found) buttons.push_back(f.second);
  return buttons;
}

std::vector<int> MessageBoxWindow::ButtonIds() const {
  std::vector<int> ids;
  for (const Button& b : Buttons()) ids.push_back(b.id);
  return ids;
}

void MessageBoxWindow::Answer(int buttonId) {
  std::vector<int> ids = ButtonIds();
  if (std::find(ids.begin(), ids.end(), buttonId) == ids.end()) {
    std::string list;
    for (int id : ids) list += " " + std::to_string(id);
    throw UiError("message box '" + Narrow(Text()) + "' has no button " + std::to_string(buttonId) +
                  " (buttons:" + list + ")");
  }
  HWND box = hwnd_;
  Deliver(GetDlgItem(box, buttonId), BM_CLICK, 0, 0,
          "answering " + std::to_string(buttonId) + " to message box '" + Narrow(Text()) + "'");
  const DWORD begin = GetTickCount();
  while (IsWindow(box) && IsWindowVisible(box)) {
    if (GetTickCount() - begin >= kDefaultWaitMs) {
      throw UiError("message box '" + Narrow(Text()) + "' did not close after answer " +
                    std::to_string(buttonId));
    }
    PumpOwnMessages(10);
  }
}

// ---- Tool ----

Tool Tool::Start(const ToolOptions& options) {
  Tool tool;
  const std::string exe = options.exe.empty() ? ToolExeUnix() : options.exe;
  const std::string exeName = BaseName(exe);
  const std::wstring exeNameW = WideFromUtf8(exeName);

  tool.version_ = SetWindowsVersion(options.windows, exeNameW);
  if (!tool.version_.ok()) {
    throw UiError("unknown Windows version '" + Narrow(options.windows) + "' for " + exeName);
  }

  std::string command = "cd " + ShellQuote(exe.substr(0, exe.size() - exeName.size())) + " && ";
  if (!options.language.empty()) {
    std::string locale = Narrow(options.language);
    if (locale.find('.') == std::string::npos) locale += ".UTF-8";
    command += "LANG=" + ShellQuote(locale) + " LC_ALL=" + ShellQuote(locale) + " ";
  }
  const char* loader = sizeof(void*) == 8 ? "/usr/lib/wine/wine64" : "/usr/lib/wine/wine";
  command += "exec \"${WINE_LOADER:-" + std::string(loader) + "}\" " +
             ShellQuote(Narrow(UnixPathToWindows(exe)));

  const std::set<DWORD> earlier = ProcessesNamed(exeNameW);
  tool.loader_ = StartHost(command);
  if (!tool.loader_.Started()) throw UiError("the Wine loader could not be started for " + exe);

  const DWORD begin = GetTickCount();
  auto elapsed = [&] { return GetTickCount() - begin; };
  while (!tool.process_) {
    for (DWORD pid : ProcessesNamed(exeNameW)) {
      if (earlier.count(pid)) continue;
      tool.process_ =
          OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, pid);
      if (tool.process_) {
        tool.pid_ = pid;
        break;
      }
    }
    if (tool.process_) break;
    if (!tool.loader_.Running() || elapsed() >= options.timeoutMs) {
      throw UiError(exeName + " did not start within " + std::to_string(options.timeoutMs) +
                    " ms; Wine said: " + tool.loader_.Output());
    }
    Sleep(20);
  }
  while (!(tool.hwnd_ = MainDialogOf(tool.pid_))) {
    if (!tool.Running()) {
      throw UiError(exeName + " ended (exit code " + std::to_string(tool.ExitCode()) +
                    ") before its dialog appeared; Wine said: " + tool.loader_.Output());
    }
    if (elapsed() >= options.timeoutMs) {
      std::string seen;
      for (const Window& w : tool.Windows()) seen += " '" + Narrow(w.Caption()) + "'";
      throw UiError("the dialog of " + exeName + " did not appear within " +
                    std::to_string(options.timeoutMs) + " ms (windows shown:" + seen + ")");
    }
    Sleep(20);
  }
  Ask(tool.hwnd_, WM_NULL);  // the dialog's initialisation has finished
  return tool;
}

Tool::Tool(Tool&& other) noexcept
    : Window(other),
      process_(other.process_),
      loader_(std::move(other.loader_)),
      version_(std::move(other.version_)) {
  other.process_ = nullptr;
  other.hwnd_ = nullptr;
}

Tool::~Tool() {
  Kill();
  if (process_) CloseHandle(process_);
  loader_.Stop();
  version_.Restore();
}

bool Tool::Running() const { return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }

DWORD Tool::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (process_) GetExitCodeProcess(process_, &code);
  return code;
}

bool Tool::WaitForExit(DWORD timeoutMs) {
  return process_ && WaitForSingleObject(process_, timeoutMs) == WAIT_OBJECT_0;
}

void Tool::Kill() {
  if (!Running()) return;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 5000);
}

std::string Tool::Output() const { return loader_.Output(); }

std::vector<Window> Tool::Windows() const {
  std::vector<Window> windows;
  HWND dialog = MainDialogOf(pid_);
  if (dialog) windows.emplace_back(dialog, pid_);
  for (HWND w : VisibleTopLevel(pid_)) {
    if (w != dialog) windows.emplace_back(w, pid_);
  }
  return windows;
}

bool Tool::HasMessageBox() const {
  for (HWND w : VisibleTopLevel(pid_)) {
    if (IsMessageBox(w)) return true;
  }
  return false;
}

MessageBoxWindow Tool::WaitForMessageBox(DWORD timeoutMs) const {
  const DWORD begin = GetTickCount();
  for (;;) {
    for (HWND w : VisibleTopLevel(pid_)) {
      if (IsMessageBox(w)) {
        Ask(w, WM_NULL);  // initialised
        return MessageBoxWindow(w, pid_);
      }
    }
    if (!Running()) {
      throw UiError("waiting for a message box: the tool ended (exit code " +
                    std::to_string(ExitCode()) + ")");
    }
    if (GetTickCount() - begin >= timeoutMs) {
      std::string seen;
      for (const Window& w : Windows()) seen += " '" + Narrow(w.Caption()) + "'";
      throw UiError("no message box appeared within " + std::to_string(timeoutMs) +
                    " ms (windows shown:" + seen + ")");
    }
    Sleep(20);
  }
}

void Tool::Close() {
  if (!Exists()) throw UiError("closing: the dialog is gone");
  Deliver(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0, "closing " + Describe());
}

void Tool::PressKey(WPARAM key) {
  if (!Exists()) throw UiError("pressing a key: the dialog is gone");
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  HWND target = hwnd_;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(hwnd_, nullptr), &info) && info.hwndFocus) {
    target = info.hwndFocus;
  }
  // Keys are posted, as the keyboard does, so that the dialog's message loop sees them.
  const UINT scan = MapVirtualKeyW(static_cast<UINT>(key), 0);
  PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
  PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | 0xC0000000u);
  // A posted key is handled after sent messages; wait a little for its effect (the dialog may
  // well end).
  const DWORD begin = GetTickCount();
  std::set<HWND> none;
  while (Running() && GetTickCount() - begin < 300 && !ModalShown(pid_, hwnd_, none)) Sleep(20);
}

void Tool::PressEscape() { PressKey(VK_ESCAPE); }
void Tool::PressEnter() { PressKey(VK_RETURN); }

}  // namespace testsupport
