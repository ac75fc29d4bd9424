// A modal dialog from a resource template, with data exchange between controls and fields.
#pragma once

#include <windows.h>

#include <string>

#include "classlib/window_win.h"

namespace classlib {

// One pass of data exchange. Each call names a control and the field it is exchanged with; the
// direction is that of the pass (saving: controls to fields; otherwise fields to controls).
class DataExchange {
 public:
  DataExchange(HWND dialog, bool saving) : dialog_(dialog), saving_(saving) {}
  bool saving() const { return saving_; }

  // A radio group runs from the first control (which has the group style), in template order, up
  // to the next control with the group style; only radio buttons count, hidden ones included.
  // The value is the index of the checked radio, -1 when none is checked.
  void RadioGroup(int firstId, int& index);
  template <typename Enum>
  void RadioGroup(int firstId, Enum& value) {
    int index = static_cast<int>(value);
    RadioGroup(firstId, index);
    if (saving_) value = static_cast<Enum>(index);
  }
  void Text(int id, std::wstring& value);
  void Check(int id, int& value);  // 0 clear, 1 checked
  void Control(int id, Window& control);
  // Validation of an exchanged value; a value outside the range fails the pass when saving.
  void Range(int value, int low, int high);

  bool failed() const { return failed_; }

 private:
  HWND dialog_;
  bool saving_;
  bool failed_ = false;
};

class Dialog {
 public:
  explicit Dialog(int templateId) : templateId_(templateId) {}
  virtual ~Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  INT_PTR DoModal(HWND parent = nullptr);
  HWND hwnd() const { return hwnd_; }

  // Runs DoDataExchange in the given direction; false when a validation failed.
  bool UpdateData(bool saveAndValidate);
  void EndDialog(int result);
  HWND Item(int id) const { return GetDlgItem(hwnd_, id); }
  Window ItemWindow(int id) const { return Window(Item(id)); }

  void StartTimer(UINT_PTR id, UINT periodMs) { SetTimer(hwnd_, id, periodMs, nullptr); }
  void StopTimer(UINT_PTR id) { KillTimer(hwnd_, id); }

  // Enter (no push button has the focus): read the controls, then end.
  virtual void OnOK();
  // Escape, the close box, or a Cancel button: end without reading the controls.
  virtual void OnCancel();

 protected:
  virtual void DoDataExchange(DataExchange&) {}
  // The base version writes the fields to the controls; true gives the focus to the first control.
  virtual BOOL OnInitDialog();
  // The dialog's message map. Set handled to false to fall through to the default handling.
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
  // Default handling of a control's colour message: the brush and colours the dialog would use.
  INT_PTR DefaultColour(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

  int templateId_;
  HWND hwnd_ = nullptr;
};

}  // namespace classlib
