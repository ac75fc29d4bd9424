#include "app/config_dialog_win.h"

#include "app/control_ids.h"
#include "app/dialog_defaults.h"
#include "app/languages.h"
#include "app/os_selection.h"
#include "classlib/ansi_text_win.h"
#include "classlib/message_box_win.h"

namespace app {
const ConfingDialog::CommandEntry ConfingDialog::kCommandMap[] = {
    {kButtonExit, BN_CLICKED, &ConfingDialog::OnCancelCommand},
    {kRadioDriverTypeSerial, BN_CLICKED, &ConfingDialog::OnDriverTypeSerial},
    {kRadioDriverTypePrinter, BN_CLICKED, &ConfingDialog::OnDriverTypePrinter},
    {kButtonInstall, BN_CLICKED, &ConfingDialog::OnInstallNow},
    {kButtonCheckPort, BN_CLICKED, &ConfingDialog::OnCheckPort},
    {kTitleLine, STN_DBLCLK, &ConfingDialog::OnTitleDoubleClick},
    {kRadioUsb, BN_CLICKED, &ConfingDialog::OnPortKindClicked},
    {kRadioCom, BN_CLICKED, &ConfingDialog::OnPortKindClicked},
    {kRadioLan, BN_CLICKED, &ConfingDialog::OnPortKindClicked},
    {kRadioBle, BN_CLICKED, &ConfingDialog::OnPortKindClicked},
    {kLanguageList, CBN_SELCHANGE, &ConfingDialog::OnLanguageChanged},
    {kPortList, CBN_SELCHANGE, &ConfingDialog::OnPortComboChanged},
    {kPortList, CBN_DROPDOWN, &ConfingDialog::OnPortComboChanged},
    {kButtonSelfTest, BN_CLICKED, &ConfingDialog::PrintSelfTest},
};

ConfingDialog::ConfingDialog()
    : classlib::Dialog(kDialogTemplate),
      testPageText(TestPageText(common::kChinese)),
      language(GetUserDefaultUILanguage()) {
  LOGFONTW description = {};
  description.lfHeight = 12;
  description.lfWeight = FW_BOLD;
  description.lfUnderline = TRUE;
  description.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(description.lfFaceName, L"Arial", LF_FACESIZE);
  labelFont.Create(description);
}

ConfingDialog::~ConfingDialog() {
  // The worker uses this object's fields: it must be gone before they are.
  OnDestroy();
}

void ConfingDialog::DoDataExchange(classlib::DataExchange& dx) {
  dx.RadioGroup(kRadioWindows10, osChoice);
  dx.RadioGroup(kRadioModelFirst, modelIndex);
  dx.Text(kTitleLine, recommendText);
  dx.Check(kCheckSetDefault, setAsDefault);
  dx.RadioGroup(kRadioUsb, portKind);
  dx.Range(static_cast<int>(portKind), 0, 99);
  dx.Control(kPortLabel, portLabel);
  dx.Text(kPortLabel, selectedPort);
  dx.Control(kBaudList, baudCombo);
  dx.Control(kIpAddress, ipAddressCtrl);
  if (portLabelFont.handle() == nullptr) portLabelFont.CreatePointFont(100, L"Arial");
  portLabel.SetFont(portLabelFont.handle());
  dx.Control(kPortList, portCombo);
  dx.Text(kBleName, bleDeviceName);
  sharedPortKind = portKind;
}

BOOL ConfingDialog::OnInitDialog() {
  // The template's initial list of the language combo box.
  classlib::ComboBox languageList;
  languageList.Attach(Item(kLanguageList));
  for (const wchar_t* entry : LanguageListEntries()) languageList.Add(entry);

  classlib::Dialog::OnInitDialog();
  classlib::SetMainWindow(hwnd());

  HINSTANCE instance = GetModuleHandleW(nullptr);
  appIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
  if (appIcon) {
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon));
  }
  logoBitmap.Load(instance, kLogoBitmapResource);
  SelectTestPageText(static_cast<common::LangId>(language));
  titleClickCount = 0;

  // The title line reports double-clicks only with the notify style.
  HWND title = Item(kTitleLine);
  SetWindowLongW(title, GWL_STYLE, GetWindowLongW(title, GWL_STYLE) | SS_NOTIFY);
  SendDlgItemMessageW(hwnd(), kRemark, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont.handle()),
                      TRUE);
  portLabel.SetFont(labelFont.handle());

  language = StartupLanguage(static_cast<common::LangId>(language));
  languageList.Select(LanguageListIndex(static_cast<common::LangId>(language)));
  ApplyLanguageTexts(static_cast<common::LangId>(language));

  // Detection runs on an installer of its own; its tables are the same constant ones.
  install::DriverInstaller detector;
  const char* arch = nullptr;
  const char* version = nullptr;
  detector.DetectWindows(&arch, &version);
  archName = arch ? classlib::AnsiToWide(arch) : std::wstring();
  osName = version ? classlib::AnsiToWide(version) : std::wstring();
  recommendText = RecommendText(static_cast<common::LangId>(language), osName, archName);
  for (int i = 0; i < install::kWindowsNameCount; ++i)
    if (version != nullptr && installer.windowsNames[i] == version)
      osChoice = PreselectedOsChoice(i, osChoice);

  for (const wchar_t* rate : kBaudRates) baudCombo.Add(rate);
  baudCombo.Select(kDefaultBaudIndex);
  ipAddressCtrl.SetAddress(kDefaultPrinterAddress);
  StartTimer(kTimerPortMonitor, kPortMonitorPeriodMs);
  UpdateData(false);
  return TRUE;
}

void ConfingDialog::ApplyLanguageTexts(common::LangId uiLanguage) {
  SetWindowTextW(hwnd(), WindowTitle(uiLanguage));
  for (const Caption& caption : Captions(uiLanguage))
    SetDlgItemTextW(hwnd(), caption.controlId, caption.text);
}

void ConfingDialog::SelectTestPageText(common::LangId languageId) {
  testPageText = TestPageText(languageId);
}

void ConfingDialog::OnLanguageChanged() {
  classlib::ComboBox languageList;
  languageList.Attach(Item(kLanguageList));
  language = LanguageFromListIndex(languageList.Selection());
  ApplyLanguageTexts(static_cast<common::LangId>(language));
  SelectTestPageText(static_cast<common::LangId>(language));
  recommendText = RecommendText(static_cast<common::LangId>(language), osName, archName);
  // The controls are not read first: a radio chosen since the last port-monitor tick is reset.
  UpdateData(false);
}

void ConfingDialog::OnTitleDoubleClick() {
  if (++titleClickCount < 5) return;
  titleClickCount = 0;
  classlib::ShowMessage(
      hwnd(), TitleDoubleClickText(static_cast<common::LangId>(language), osName, archName));
}

void ConfingDialog::EnableRange(int firstId, int lastId, bool enabled) {
  for (int id = firstId; id <= lastId; ++id) EnableWindow(Item(id), enabled);
}

void ConfingDialog::OnDriverTypeSerial() {
  EnableRange(kInstallRangeFirst, kInstallRangeLast, false);
}

void ConfingDialog::OnDriverTypePrinter() {
  EnableRange(kInstallRangeFirst, kInstallRangeLast, true);
}

void ConfingDialog::OnCancelCommand() { OnCancel(); }

bool ConfingDialog::OnTimer(UINT_PTR id) {
  switch (id) {
    case kTimerReenableControls:
      EnableInstallControls(true);
      StopTimer(kTimerReenableControls);
      return true;
    case kTimerReenableCheckPort:
      EnableWindow(Item(kButtonCheckPort), TRUE);
      StopTimer(kTimerReenableCheckPort);
      return true;
    case kTimerPortMonitor:
      PortMonitorTick();
      return true;
    default:
      return false;
  }
}

INT_PTR ConfingDialog::OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam) {
  INT_PTR brush = DefaultColour(message, wParam, lParam);
  if (GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == kPortLabel)
    SetTextColor(reinterpret_cast<HDC>(wParam), RGB(180, 40, 40));
  return brush;
}

INT_PTR ConfingDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
  handled = true;
  switch (message) {
    case WM_COMMAND:
      for (const CommandEntry& entry : kCommandMap) {
        if (entry.id == LOWORD(wParam) && entry.notification == HIWORD(wParam)) {
          (this->*entry.handler)();
          return 0;
        }
      }
      break;
    case WM_TIMER:
      if (OnTimer(wParam)) return 0;
      break;
    case kSearchResultsMessage:
      return OnSearchResults(wParam, lParam);
    case WM_DESTROY:
      OnDestroy();
      break;
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      return OnCtlColor(message, wParam, lParam);
    default:
      break;
  }
  return classlib::Dialog::OnMessage(message, wParam, lParam, handled);
}

}  // namespace app
