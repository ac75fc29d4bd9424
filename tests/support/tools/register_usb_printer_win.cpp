// Registers a simulated USB printer in the Wine prefix for the run command (scripts/run.d/):
// a device with an interface of the USB printing class, linked and with its port number, as the
// tool's USB listing finds it. Prints the interface's device path; the caller links a capture
// (a pty) at $WINEPREFIX/dosdevices/<the path without "\\?\", in lower case>, which is what
// opening the device path opens under Wine.
//
//   register_usb_printer VID_0483&PID_5720 PORT-NUMBER [INSTANCE]     (listed as USB<nnn>)
#include <windows.h>
// After windows.h, which it needs.
#include <setupapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "discovery/usb_interfaces_win.h"
#include "discovery/usb_ports.h"

namespace {

bool SetDword(const std::wstring& keyPath, const wchar_t* name, DWORD value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return false;
  bool set = RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof value) == ERROR_SUCCESS;
  RegCloseKey(key);
  return set;
}

// The device and its interface; the interface's device path, empty on failure.
std::wstring RegisterInterface(const std::wstring& instanceId) {
  const GUID& usbPrint = discovery::kUsbPrintInterfaceClass;
  HDEVINFO set = SetupDiCreateDeviceInfoList(&usbPrint, nullptr);
  if (set == INVALID_HANDLE_VALUE) return std::wstring();
  SP_DEVINFO_DATA device = {};
  device.cbSize = sizeof device;
  SP_DEVICE_INTERFACE_DATA iface = {};
  iface.cbSize = sizeof iface;
  std::wstring path;
  if (SetupDiCreateDeviceInfoW(set, instanceId.c_str(), &usbPrint, nullptr, nullptr, 0, &device) &&
      SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr) &&
      SetupDiCreateDeviceInterfaceW(set, &device, &usbPrint, nullptr, 0, &iface)) {
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &size, nullptr);
    std::vector<unsigned char> block(size + sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) + 2, 0);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(block.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    if (SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, size, nullptr, nullptr))
      path = detail->DevicePath;
  }
  SetupDiDestroyDeviceInfoList(set);
  return path;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3 || argc > 4) {
    std::fprintf(stderr, "usage: register_usb_printer VID_xxxx&PID_xxxx PORT-NUMBER [INSTANCE]\n");
    return 2;
  }
  const std::wstring instanceId =
      std::wstring(L"USB\\") + argv[1] + L"\\" + (argc > 3 ? argv[3] : L"0001");
  const DWORD portNumber = std::wcstoul(argv[2], nullptr, 10);
  const std::wstring path = RegisterInterface(instanceId);
  if (path.empty()) {
    std::fprintf(stderr, "register_usb_printer: cannot register %ls (error %lu)\n",
                 instanceId.c_str(), GetLastError());
    return 1;
  }
  if (!SetDword(discovery::DeviceClassKeyPath(path, L"Device Parameters"), L"Port Number",
                portNumber) ||
      !SetDword(discovery::DeviceClassKeyPath(path, L"Control"), L"Linked", 1)) {
    std::fprintf(stderr, "register_usb_printer: cannot write the interface's values\n");
    return 1;
  }
  std::printf("%ls\n", path.c_str());
  return 0;
}
