// The setup dialog: its fields, the controls they are bound to, and its message handlers.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "classlib/dialog_win.h"
#include "classlib/thread_win.h"
#include "classlib/window_win.h"
#include "common/types.h"
#include "install/driver_installer.h"

namespace app {

using common::PortKind;

class ConfingDialog : public classlib::Dialog {
 public:
  ConfingDialog();
  ~ConfingDialog() override;

  // Fields, in declaration order.
  bool faqEnabled = true;
  HICON appIcon = nullptr;
  int osChoice = 0;
  int modelIndex = 0;
  install::DriverInstaller installer;
  std::wstring recommendText;
  int setAsDefault = 0;
  std::wstring modelName;
  std::wstring archName;
  std::wstring osName;
  classlib::Font labelFont;
  classlib::Bitmap logoBitmap;
  const wchar_t* testPageText;
  int language;
  int titleClickCount = 0;
  PortKind portKind = PortKind::Usb;
  classlib::Static portLabel;
  std::wstring selectedPort = L"USB00X";
  classlib::ComboBox baudCombo;
  classlib::IpAddressCtrl ipAddressCtrl;
  classlib::ComboBox portCombo;
  std::wstring bleDeviceName;
  classlib::WorkerThread searchThread;
  volatile bool searchRunning = false;
  std::vector<std::wstring> foundPrinters;
  // Guards foundPrinters (and the discovery's local address text) between the two threads.
  classlib::CriticalSection foundPrintersLock;

  // Sets the window title and the captions of the language's table.
  void ApplyLanguageTexts(common::LangId uiLanguage);
  void SelectTestPageText(common::LangId languageId);

 protected:
  void DoDataExchange(classlib::DataExchange& dx) override;
  BOOL OnInitDialog() override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

 private:
  using Handler = void (ConfingDialog::*)();
  struct CommandEntry {
    int id;
    WORD notification;
    Handler handler;
  };
  static const CommandEntry kCommandMap[];

  void OnCancelCommand();
  void OnDriverTypeSerial();
  void OnDriverTypePrinter();
  void OnLanguageChanged();
  void OnTitleDoubleClick();
  void OnTimer(UINT_PTR id);
  INT_PTR OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam);
  void EnableRange(int firstId, int lastId, bool enabled);

  // The port label's own 10-point font, alive as long as the control.
  classlib::Font portLabelFont;
};

}  // namespace app
