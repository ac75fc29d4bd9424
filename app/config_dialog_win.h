// The setup dialog: its fields, the controls they are bound to, and its message handlers.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

#include "app/port_list.h"
#include "classlib/dialog_win.h"
#include "classlib/thread_win.h"
#include "classlib/window_win.h"
#include "common/types.h"
#include "install/driver_installer.h"
#include "printing/port_check.h"

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
  std::atomic<bool> searchRunning{false};
  std::vector<std::wstring> foundPrinters;
  // Guards foundPrinters between the interface thread and the LAN search worker.
  classlib::CriticalSection foundPrintersLock;

  // Sets the window title and the captions of the language's table.
  void ApplyLanguageTexts(common::LangId uiLanguage);
  void SelectTestPageText(common::LangId languageId);

  // Refreshes the port list from a listing without losing the user's choice; names are the
  // Bluetooth device names paired by position with the list.
  void MergePortList(const std::vector<std::wstring>& list, const std::wstring& placeholder,
                     const std::vector<std::wstring>* names = nullptr);

  // Prints the port page over the chosen connection; true when it was sent.
  bool CheckPort();
  void PrintSelfTest();

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
  void OnInstallNow();
  void OnCheckPort();
  void OnLanguageChanged();
  void OnTitleDoubleClick();
  void OnPortKindClicked();
  void OnPortComboChanged();
  LRESULT OnSearchResults(WPARAM wParam, LPARAM lParam);
  bool OnTimer(UINT_PTR id);
  void PortMonitorTick();
  INT_PTR OnCtlColor(UINT message, WPARAM wParam, LPARAM lParam);
  void OnDestroy();

  void OpenFaqDocument();
  void EnableRange(int firstId, int lastId, bool enabled);
  void EnableInstallControls(bool enabled);
  PortCombo ReadPortCombo() const;
  printing::PortChoice ReadPortChoice() const;
  void StartLanSearchThread();
  static unsigned __stdcall LanSearchThread(void* dialog);

  // The port label's own 10-point font, alive as long as the control.
  classlib::Font portLabelFont;
  // What the LAN search worker reads of the dialog: the kind as last read from the controls, the
  // window to post its results to, and whether the dialog is closing.
  std::atomic<PortKind> sharedPortKind{PortKind::Usb};
  std::atomic<HWND> searchResultsWindow{nullptr};
  std::atomic<bool> closing{false};
  // True while a WM_SEARCH_RESULTS of the worker waits in the queue or is being handled. The
  // worker posts one only when none is pending: passes can follow each other faster than the
  // dialog handles their results, and a queue that fills with them holds back input, painting,
  // timers and the close.
  std::atomic<bool> searchResultsPending{false};
};

}  // namespace app
