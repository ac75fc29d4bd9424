#include "discovery/usb_ports_win.h"

#include <cstring>
#include <functional>

#include "classlib/message_box_win.h"
#include "discovery/usb_interfaces_win.h"
#include "printing/raster_win.h"
#include "printing/usb_ticket.h"

namespace discovery {

bool usbSkipLinkCheck = false;

namespace {

// A printer of a known vendor that is linked (unless that is not asked) and has a port number.
struct UsbPrinter {
  std::wstring devicePath;
  long long portNumber;
};

UsbWalkEnd WalkUsbPrinters(const GUID& interfaceClass,
                           const std::function<void(const UsbPrinter&)>& found) {
  return WalkUsbPrinterInterfaces(interfaceClass, [&found](const std::wstring& path) {
    if (!HasKnownVendorId(path)) return UsbWalkStep::Next;
    unsigned char buffer[kDeviceClassValueBytes] = {};
    if (!usbSkipLinkCheck) {
      if (!ReadDeviceClassValue(path, L"Control", L"Linked", buffer)) {
        OutputDebugStringW(L"read regkey failed");
        return UsbWalkStep::Next;
      }
      if (buffer[0] == 0) {
        OutputDebugStringW(L"print is off-line");
        return UsbWalkStep::Next;
      }
    }
    if (!ReadDeviceClassValue(path, L"Device Parameters", L"Port Number", buffer)) {
      OutputDebugStringW(L"read regkey failed");
      return UsbWalkStep::Next;
    }
    std::int32_t number;
    std::memcpy(&number, buffer, sizeof number);
    found(UsbPrinter{path, number});
    return UsbWalkStep::Next;
  });
}

}  // namespace

bool ReadDeviceClassValue(const std::wstring& devicePath, const std::wstring& subkeyName,
                          const std::wstring& valueName,
                          unsigned char (&buffer)[kDeviceClassValueBytes]) {
  std::memset(buffer, 0, sizeof buffer);
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, DeviceClassKeyPath(devicePath, subkeyName).c_str(), 0,
                    KEY_READ, &key) != ERROR_SUCCESS) {
    OutputDebugStringW(L"打开键失败");
    return false;
  }
  DWORD size = sizeof buffer - 1;  // a text value always ends in a zero
  LONG result = RegQueryValueExW(key, valueName.c_str(), nullptr, nullptr, buffer, &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS) {
    std::memset(buffer, 0, sizeof buffer);
    OutputDebugStringW(L"读取键失败");
    return false;
  }
  return true;
}

bool ListUsbPrinterPorts(std::vector<std::wstring>& portList) {
  std::vector<std::wstring> found;
  UsbWalkEnd end = WalkUsbPrinters(kUsbPrintInterfaceClass, [&found](const UsbPrinter& printer) {
    found.push_back(UsbPortName(printer.portNumber));
  });
  if (end == UsbWalkEnd::NoInterfaceSet) return false;
  portList = found;
  return end == UsbWalkEnd::Finished && !portList.empty();
}

bool ShowUsbPrinterPorts(const GUID& interfaceClass, common::LangId language) {
  std::wstring message = printing::UsbPortsMessageHeader(language);
  bool any = false;
  UsbWalkEnd end = WalkUsbPrinters(interfaceClass, [&](const UsbPrinter& printer) {
    message = printing::AppendUsbPortLine(message, printer.portNumber);
    printing::PrintTextAsRaster(printer.devicePath,
                                printing::UsbTicketText(language, printer.portNumber));
    any = true;
  });
  if (end != UsbWalkEnd::Finished) return false;
  if (!any) {
    OutputDebugStringW(L"USB打印机没有接入设备");
    classlib::ShowMessage(classlib::MainWindow(), printing::UsbNotFoundMessage(language));
    return false;
  }
  OutputDebugStringW(message.c_str());
  classlib::ShowMessage(classlib::MainWindow(), message);
  return true;
}

}  // namespace discovery
