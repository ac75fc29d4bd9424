#include "classlib/window_win.h"

#include <commctrl.h>

#include <vector>

namespace classlib {

std::wstring Window::Text() const {
  int length = GetWindowTextLengthW(hwnd_);
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  int copied = GetWindowTextW(hwnd_, buffer.data(), length + 1);
  return std::wstring(buffer.data(), static_cast<size_t>(copied > 0 ? copied : 0));
}

void Window::SetText(const std::wstring& text) const { SetWindowTextW(hwnd_, text.c_str()); }

void Window::Show(bool shown) const { ShowWindow(hwnd_, shown ? SW_SHOW : SW_HIDE); }

bool Window::IsShown() const { return (GetWindowLongW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0; }

void Window::Enable(bool enabled) const { EnableWindow(hwnd_, enabled); }

void Window::SetFont(HFONT font) const { Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE); }

LRESULT Window::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
  return SendMessageW(hwnd_, message, wParam, lParam);
}

int ComboBox::Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }

int ComboBox::Selection() const { return static_cast<int>(Send(CB_GETCURSEL)); }

void ComboBox::Select(int index) const { Send(CB_SETCURSEL, static_cast<WPARAM>(index)); }

std::wstring ComboBox::Entry(int index) const {
  LRESULT length = Send(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
  if (length == CB_ERR) return L"";
  std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
  LRESULT copied =
      Send(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  if (copied == CB_ERR) return L"";
  return std::wstring(buffer.data(), static_cast<size_t>(copied));
}

int ComboBox::Add(const std::wstring& text) const {
  return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
}

void ComboBox::Clear() const { Send(CB_RESETCONTENT); }

std::wstring ComboBox::SelectedText() const {
  int selection = Selection();
  return selection < 0 ? std::wstring() : Entry(selection);
}

void IpAddressCtrl::SetAddress(DWORD hostOrder) const {
  Send(IPM_SETADDRESS, 0, static_cast<LPARAM>(hostOrder));
}

DWORD IpAddressCtrl::Address() const {
  DWORD address = 0;
  Send(IPM_GETADDRESS, 0, reinterpret_cast<LPARAM>(&address));
  return address;
}

Font::~Font() {
  if (font_) DeleteObject(font_);
}

bool Font::Create(const LOGFONTW& description) {
  if (font_) DeleteObject(font_);
  font_ = CreateFontIndirectW(&description);
  return font_ != nullptr;
}

bool Font::CreatePointFont(int tenthsOfPoint, const wchar_t* face) {
  LOGFONTW description = {};
  HDC screen = GetDC(nullptr);
  // A point is 1/72 inch; the negative height asks for the character height, not the cell.
  description.lfHeight = -MulDiv(tenthsOfPoint, GetDeviceCaps(screen, LOGPIXELSY), 720);
  ReleaseDC(nullptr, screen);
  description.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(description.lfFaceName, face, LF_FACESIZE);
  return Create(description);
}

Bitmap::~Bitmap() {
  if (bitmap_) DeleteObject(bitmap_);
}

bool Bitmap::Load(HINSTANCE instance, int resourceId) {
  if (bitmap_) DeleteObject(bitmap_);
  bitmap_ = LoadBitmapW(instance, MAKEINTRESOURCEW(resourceId));
  return bitmap_ != nullptr;
}

}  // namespace classlib
