#include "classlib/dialog_win.h"

#include <commctrl.h>

#include <vector>

namespace classlib {
namespace {

bool IsRadio(HWND control) {
  return (SendMessageW(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON) != 0;
}

// The radio buttons of the group that starts at first, in template order.
std::vector<HWND> GroupRadios(HWND first) {
  std::vector<HWND> radios;
  for (HWND control = first; control != nullptr; control = GetWindow(control, GW_HWNDNEXT)) {
    if (control != first && (GetWindowLongW(control, GWL_STYLE) & WS_GROUP)) break;
    if (IsRadio(control)) radios.push_back(control);
  }
  return radios;
}

}  // namespace

void DataExchange::RadioGroup(int firstId, int& index) {
  std::vector<HWND> radios = GroupRadios(GetDlgItem(dialog_, firstId));
  if (saving_) {
    index = -1;
    for (size_t i = 0; i < radios.size(); ++i)
      if (SendMessageW(radios[i], BM_GETCHECK, 0, 0) == BST_CHECKED) index = static_cast<int>(i);
    return;
  }
  for (size_t i = 0; i < radios.size(); ++i)
    SendMessageW(radios[i], BM_SETCHECK, static_cast<int>(i) == index ? BST_CHECKED : BST_UNCHECKED,
                 0);
}

void DataExchange::Text(int id, std::wstring& value) {
  Window control(GetDlgItem(dialog_, id));
  if (saving_)
    value = control.Text();
  else
    control.SetText(value);
}

void DataExchange::Check(int id, int& value) {
  HWND control = GetDlgItem(dialog_, id);
  if (saving_)
    value = SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
  else
    SendMessageW(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void DataExchange::Control(int id, Window& control) {
  if (control.hwnd() == nullptr) control.Attach(GetDlgItem(dialog_, id));
}

void DataExchange::Range(int value, int low, int high) {
  if (saving_ && (value < low || value > high)) failed_ = true;
}

INT_PTR Dialog::DoModal(HWND parent) {
  // The template holds an IP address control, whose class the Windows 95 set does not register.
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_INTERNET_CLASSES};
  InitCommonControlsEx(&classes);
  return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                         &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
}

bool Dialog::UpdateData(bool saveAndValidate) {
  DataExchange dx(hwnd_, saveAndValidate);
  DoDataExchange(dx);
  return !dx.failed();
}

void Dialog::EndDialog(int result) { ::EndDialog(hwnd_, result); }

void Dialog::OnOK() {
  if (UpdateData(true)) EndDialog(IDOK);
}

void Dialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL Dialog::OnInitDialog() {
  UpdateData(false);
  return TRUE;
}

INT_PTR Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM, bool& handled) {
  handled = false;
  if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
    if (LOWORD(wParam) == IDOK) {
      OnOK();
      handled = true;
    } else if (LOWORD(wParam) == IDCANCEL) {
      OnCancel();
      handled = true;
    }
  }
  return 0;
}

INT_PTR Dialog::DefaultColour(UINT message, WPARAM wParam, LPARAM lParam) {
  return static_cast<INT_PTR>(DefWindowProcW(hwnd_, message, wParam, lParam));
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Dialog* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lParam);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, DWLP_USER, lParam);
    return self->OnInitDialog();
  }
  self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  if (self == nullptr) return FALSE;
  bool handled = true;
  INT_PTR result = self->OnMessage(message, wParam, lParam, handled);
  if (message == WM_NCDESTROY) self->hwnd_ = nullptr;
  if (!handled) return FALSE;
  // Messages whose result is not a plain TRUE/FALSE return it through DWLP_MSGRESULT, except
  // the colour messages, which return the brush itself.
  if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) return result;
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

}  // namespace classlib
