// Thin wrappers over window handles: the controls the dialog binds, and GDI objects it owns.
#pragma once

#include <windows.h>

#include <string>

namespace classlib {

class Window {
 public:
  Window() = default;
  explicit Window(HWND hwnd) : hwnd_(hwnd) {}
  void Attach(HWND hwnd) { hwnd_ = hwnd; }
  HWND hwnd() const { return hwnd_; }
  int Id() const { return GetDlgCtrlID(hwnd_); }

  std::wstring Text() const;
  void SetText(const std::wstring& text) const;
  void Show(bool shown) const;
  bool IsShown() const;
  void Enable(bool enabled) const;
  void SetFont(HFONT font) const;
  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

 private:
  HWND hwnd_ = nullptr;
};

class Static : public Window {};

class ComboBox : public Window {
 public:
  int Count() const;
  int Selection() const;  // -1 when no entry is selected
  void Select(int index) const;
  std::wstring Entry(int index) const;
  int Add(const std::wstring& text) const;  // index where the (maybe sorted) list put it
  void Clear() const;
  std::wstring SelectedText() const;  // empty when none is selected
};

class IpAddressCtrl : public Window {
 public:
  void SetAddress(DWORD hostOrder) const;
  DWORD Address() const;
};

// A GDI object deleted with its owner.
class Font {
 public:
  Font() = default;
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;
  // Creates the font from a logical description, releasing any previous one.
  bool Create(const LOGFONTW& description);
  // Height from a point size at the screen's resolution, as a point-size font call does.
  bool CreatePointFont(int tenthsOfPoint, const wchar_t* face);
  HFONT handle() const { return font_; }

 private:
  HFONT font_ = nullptr;
};

class Bitmap {
 public:
  Bitmap() = default;
  ~Bitmap();
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  bool Load(HINSTANCE instance, int resourceId);
  HBITMAP handle() const { return bitmap_; }

 private:
  HBITMAP bitmap_ = nullptr;
};

}  // namespace classlib
