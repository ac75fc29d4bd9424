// The dialog's commands: Check Port, PrintSelftest and Install Now.
#include "app/config_dialog_win.h"  // first: it brings windows.h, which shellapi.h needs

#include <shellapi.h>

#include <vector>

#include "app/control_ids.h"
#include "app/install_command.h"
#include "classlib/ansi_text_win.h"
#include "classlib/message_box_win.h"
#include "discovery/usb_ports_win.h"
#include "install/ports_win.h"
#include "install/test_page_win.h"
#include "printing/port_check_win.h"

namespace app {

printing::PortChoice ConfingDialog::ReadPortChoice() const {
  printing::PortChoice choice;
  choice.modelIndex = modelIndex;
  choice.portKind = portKind;
  choice.selectedPort = portCombo.SelectedText();
  choice.baudText = baudCombo.SelectedText();
  choice.addressText = ipAddressCtrl.Text();
  return choice;
}

bool ConfingDialog::CheckPort() {
  UpdateData(true);  // a failed exchange does not stop the check
  printing::PortCommand command;
  command.dialog = hwnd();
  command.choice = ReadPortChoice();
  command.language = static_cast<common::LangId>(language);
  command.osName = osName;
  return printing::CheckPort(command, selectedPort);
}

void ConfingDialog::OnCheckPort() { CheckPort(); }

void ConfingDialog::PrintSelfTest() {
  UpdateData(true);
  printing::PortChoice choice = ReadPortChoice();
  selectedPort = choice.selectedPort;
  printing::PrintSelfTest(choice);
}

void ConfingDialog::OnInstallNow() {
  if (!CheckPort()) return;
  UpdateData(true);
  const auto uiLanguage = static_cast<common::LangId>(language);
  if (modelIndex == -1) {
    classlib::ShowMessage(hwnd(), InstallMessageText(InstallMessage::NoModel, uiLanguage));
    return;
  }
  modelName = installer.modelNames[modelIndex];
  EnableInstallControls(false);
  if (IsWindows8OrLaterName(osName)) {
    discovery::usbSkipLinkCheck = true;
    OutputDebugStringW(osName.c_str());
  }

  std::optional<std::wstring> entry;
  if (portCombo.Selection() >= 0) entry = portCombo.SelectedText();
  std::wstring address = ipAddressCtrl.Text();
  InstallPort port = ChooseInstallPort(portKind, entry, address);
  if (!port.portName) {
    if (!port.stopMessage.empty()) classlib::ShowMessage(hwnd(), port.stopMessage);
    EnableInstallControls(true);
    return;
  }
  if (portKind == PortKind::Com || portKind == PortKind::Ble) {
    selectedPort = *port.portName;
    install::SetSerialPortSettings(selectedPort, baudCombo.SelectedText());
  } else if (portKind == PortKind::Lan) {
    install::RegisterTcpIpPort(address);
  } else {
    selectedPort = *port.portName;
  }

  if (installer.InstallPrinter(osChoice, modelIndex, setAsDefault != 0,
                               classlib::WideToAnsi(*port.portName))) {
    if (classlib::AskYesNo(hwnd(), InstallMessageText(InstallMessage::OfferTestPage, uiLanguage))) {
      Sleep(kTestPagePauseMs);
      install::PrintDriverTestPage(installer.printerName, logoBitmap.handle(), testPageText);
    }
    OpenFaqDocument();
  } else {
    classlib::ShowMessage(hwnd(), InstallMessageText(InstallMessage::Failed, uiLanguage));
  }
  OnCancel();
}

void ConfingDialog::OpenFaqDocument() {
  if (!OpensFaqDocument(modelIndex, faqEnabled)) return;
  std::vector<wchar_t> path(MAX_PATH);
  DWORD length;
  while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size())
    path.resize(path.size() * 2);
  std::wstring document = FaqDocumentPath(std::wstring(path.data(), length));
  ShellExecuteW(nullptr, L"open", document.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace app
