// The dialog's connection kinds and port list: kind clicks, the port monitor, the LAN search
// worker and its results.
#include "app/config_dialog_win.h"
#include "app/control_ids.h"
#include "app/dialog_defaults.h"
#include "app/languages.h"
#include "common/ipv4_text.h"
#include "discovery/lan_discovery_win.h"
#include "discovery/serial_ports_win.h"
#include "discovery/usb_ports_win.h"

namespace app {

namespace {
// How long a closing dialog waits for the LAN search worker: its pass ends as soon as the
// socket closes, but a ping it is sending may still run out its own time-out.
constexpr DWORD kWorkerStopWaitMs = 5000;
}  // namespace

void ConfingDialog::OnPortKindClicked() {
  UpdateData(true);
  std::optional<PortKindControls> shown = PortKindControlsFor(portKind);
  if (shown) {
    ipAddressCtrl.Show(shown->showAddress);
    baudCombo.Show(shown->showBaud);
    ItemWindow(kBleName).Show(shown->showBluetoothName);
    if (shown->showBaud) baudCombo.Select(kDefaultBaudIndex);
  }
  if (portKind == PortKind::Lan) {
    ipAddressCtrl.SetAddress(kDefaultPrinterAddress);
    portCombo.Clear();
    selectedPort = PortListPlaceholder(PortKind::Lan);
    portCombo.Select(portCombo.Add(selectedPort));
    {
      classlib::Lock lock(foundPrintersLock);
      foundPrinters.clear();
    }
    discovery::OpenDiscoveryEndpoint();
    discovery::ScanLocalAdapters();
    if (!searchRunning) StartLanSearchThread();
  } else if (shown) {
    discovery::StopLanDiscovery();
  }
  UpdateData(false);
}

PortCombo ConfingDialog::ReadPortCombo() const {
  PortCombo combo;
  for (int i = 0, n = portCombo.Count(); i < n; ++i) combo.entries.push_back(portCombo.Entry(i));
  combo.selection = portCombo.Selection();
  return combo;
}

void ConfingDialog::MergePortList(const std::vector<std::wstring>& list,
                                  const std::wstring& placeholder,
                                  const std::vector<std::wstring>* names) {
  PortListUpdate update = app::MergePortList(ReadPortCombo(), list, placeholder, names);
  if (update.rewrite) {
    portCombo.Clear();
    for (const std::wstring& entry : list.empty() ? update.entries : list) portCombo.Add(entry);
    // The list box sorts by itself: find the chosen text by exact comparison.
    int chosen = 0;
    for (int i = 0, n = portCombo.Count(); i < n; ++i)
      if (update.selectedPort && portCombo.Entry(i) == *update.selectedPort) chosen = i;
    portCombo.Select(chosen);
  }
  if (update.selectedPort) selectedPort = *update.selectedPort;
  if (update.bleDeviceName) bleDeviceName = *update.bleDeviceName;
}

void ConfingDialog::OnPortComboChanged() {
  {
    classlib::Lock lock(foundPrintersLock);
    if (foundPrinters.empty()) return;
  }
  if (portCombo.Selection() < 0) return;
  selectedPort = portCombo.SelectedText();
  if (std::optional<uint32_t> address = common::ParseIpv4(selectedPort))
    ipAddressCtrl.SetAddress(*address);
}

void ConfingDialog::PortMonitorTick() {
  UpdateData(true);
  std::vector<std::wstring> list;
  switch (portKind) {
    case PortKind::Usb:
      discovery::usbSkipLinkCheck = true;
      discovery::ListUsbPrinterPorts(list);
      MergePortList(list, PortListPlaceholder(PortKind::Usb));
      break;
    case PortKind::Com:
      discovery::ListSerialPorts(list);
      MergePortList(list, PortListPlaceholder(PortKind::Com));
      break;
    case PortKind::Ble: {
      std::vector<std::wstring> names;
      discovery::ListBluetoothSerialPorts(list, names);
      if (names.empty()) names = DefaultBluetoothNames(list.size());
      MergePortList(list, PortListPlaceholder(PortKind::Ble), &names);
      break;
    }
    case PortKind::Lan:
      selectedPort = LanAddressPrompt(static_cast<common::LangId>(language));
      if (searchRunning) {
        // Ends the worker's pending receive, so that it posts its results twice a second.
        discovery::CancelDiscoveryReceive();
        OutputDebugStringW(L"取消阻塞\n");
      } else {
        OutputDebugStringW(L"timer重启线程");
        discovery::StopLanDiscovery();
        discovery::OpenDiscoveryEndpoint();
        StartLanSearchThread();
      }
      break;
    case PortKind::Other:
      break;
  }
  UpdateData(false);
}

void ConfingDialog::StartLanSearchThread() {
  if (closing) return;
  searchResultsWindow = hwnd();
  searchRunning = true;
  if (!searchThread.Start(&ConfingDialog::LanSearchThread, this)) searchRunning = false;
}

unsigned __stdcall ConfingDialog::LanSearchThread(void* argument) {
  auto* dialog = static_cast<ConfingDialog*>(argument);
  while (dialog->sharedPortKind == PortKind::Lan && !dialog->closing) {
    bool goOn = discovery::RunDiscoveryPass(dialog->foundPrinters, dialog->foundPrintersLock);
    // The dialog reads the list when it handles the message, so a pending one serves this pass
    // too (see OnSearchResults).
    if (!dialog->searchResultsPending.exchange(true) &&
        !PostMessageW(dialog->searchResultsWindow, kSearchResultsMessage, 0, 0))
      dialog->searchResultsPending = false;
    if (!goOn) {
      dialog->searchRunning = false;
      OutputDebugStringW(L"重启线程");
      return 0;
    }
  }
  dialog->searchRunning = false;
  return 0;
}

LRESULT ConfingDialog::OnSearchResults(WPARAM wParam, LPARAM) {
  if (wParam != 0 || portKind != PortKind::Lan) {
    searchResultsPending = false;
    return 0;
  }
  UpdateData(true);
  std::vector<std::wstring> found;
  {
    classlib::Lock lock(foundPrintersLock);
    found = foundPrinters;
  }
  MergePortList(found, PortListPlaceholder(PortKind::Lan));
  UpdateData(false);
  // Passes that ended meanwhile did not post. The worker changes the list under the lock before
  // it looks at the flag, so a change that this message missed is seen here and posted again.
  classlib::Lock lock(foundPrintersLock);
  if (foundPrinters == found || !PostMessageW(hwnd(), kSearchResultsMessage, 0, 0))
    searchResultsPending = false;
  return 0;
}

void ConfingDialog::OnDestroy() {
  // Stop the worker's loop, end its pending receive, and wait for it: it reads this object.
  closing = true;
  searchResultsWindow = nullptr;
  discovery::StopLanDiscovery();
  if (!searchThread.Join(kWorkerStopWaitMs)) OutputDebugStringW(L"LAN search worker still busy");
}

void ConfingDialog::EnableInstallControls(bool enabled) {
  EnableWindow(Item(kButtonInstall), enabled);
  EnableWindow(Item(kButtonExit), enabled);
  EnableWindow(Item(kButtonCheckPort), enabled);
  EnableRange(kInstallRangeFirst, kInstallRangeLast, enabled);
}

}  // namespace app
