// The sample dialog: every control kind the UI driver reads or clicks, a Yes/No box, two OK
// boxes in a row, and a line with the Windows version and interface language that Wine gave
// the process, so that the driver's tests can check language and version overrides.
#include <windows.h>

#include <string>

#include "sample_dialog_ids.h"

namespace {

int doubleClicks = 0;
int dropDowns = 0;

const wchar_t* Localised(const wchar_t* chinese, const wchar_t* japanese, const wchar_t* english) {
  switch (GetUserDefaultUILanguage()) {
    case 0x0804:
      return chinese;
    case 0x0411:
      return japanese;
    default:
      return english;
  }
}

void SetText(HWND dialog, int id, const std::wstring& text) {
  SetDlgItemTextW(dialog, id, text.c_str());
}

std::wstring SystemLine() {
  OSVERSIONINFOW v = {};
  v.dwOSVersionInfoSize = sizeof v;
  GetVersionExW(&v);
  SYSTEM_INFO si = {};
  GetNativeSystemInfo(&si);
  wchar_t line[128];
  wsprintfW(line, L"%u.%u.%u arch=%u ui=%04X", v.dwMajorVersion, v.dwMinorVersion, v.dwBuildNumber,
            si.wProcessorArchitecture, GetUserDefaultUILanguage());
  return line;
}

void OnInit(HWND dialog) {
  SetWindowTextW(dialog, Localised(L"示例对话框", L"サンプルダイアログ", L"Sample dialog"));
  SetText(dialog, IDC_TITLE,
          Localised(L"标题：中文文字", L"タイトル：日本語のテキスト", L"Title: English text"));
  HWND combo = GetDlgItem(dialog, IDC_COMBO);
  for (const wchar_t* entry : {L"Chinese", L"English", L"Japanese"}) {
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  }
  SendMessageW(combo, CB_SETCURSEL, 1, 0);
  CheckRadioButton(dialog, IDC_RADIO_A, IDC_RADIO_HIDDEN, IDC_RADIO_A);
  SetText(dialog, IDC_SYSTEM, SystemLine());
}

void OnCommand(HWND dialog, int id, int code) {
  switch (id) {
    case IDC_TITLE:
      if (code == STN_DBLCLK) {
        SetText(dialog, IDC_CLICKS, L"double-clicks: " + std::to_wstring(++doubleClicks));
      }
      break;
    case IDC_RADIO_A:
    case IDC_RADIO_B:
    case IDC_RADIO_HIDDEN:
      if (code == BN_CLICKED) SetText(dialog, IDC_RADIO_SHOWN, L"radio: " + std::to_wstring(id));
      break;
    case IDC_COMBO:
      if (code == CBN_SELCHANGE) {
        wchar_t entry[64] = L"";
        GetDlgItemTextW(dialog, IDC_COMBO, entry, 64);
        SetText(dialog, IDC_COMBO_SHOWN, std::wstring(L"selected: ") + entry);
      } else if (code == CBN_DROPDOWN) {
        SetText(dialog, IDC_DROPDOWNS, L"drop-downs: " + std::to_wstring(++dropDowns));
      }
      break;
    case IDC_ASK: {
      int answer = MessageBoxW(dialog, L"Proceed?", L"sample_dialog", MB_YESNO | MB_ICONQUESTION);
      SetText(dialog, IDC_ANSWER, answer == IDYES ? L"answer: yes" : L"answer: no");
      break;
    }
    case IDC_TELL:
      MessageBoxW(dialog, L"First message", L"sample_dialog", MB_OK | MB_ICONEXCLAMATION);
      MessageBoxW(dialog, L"第二条消息", L"sample_dialog", MB_OK | MB_ICONEXCLAMATION);
      SetText(dialog, IDC_TOLD, L"told");
      break;
    case IDOK:
    case IDCANCEL:
      EndDialog(dialog, id);
      break;
  }
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      OnInit(dialog);
      return TRUE;
    case WM_COMMAND:
      OnCommand(dialog, LOWORD(wParam), HIWORD(wParam));
      return TRUE;
  }
  return FALSE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  // The exit code tells how the dialog ended: IDOK 1, IDCANCEL 2.
  return static_cast<int>(
      DialogBoxParamW(instance, MAKEINTRESOURCEW(SAMPLE_DIALOG), nullptr, DialogProc, 0));
}
