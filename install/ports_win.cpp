#include "install/ports_win.h"

#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include "install/ports.h"

namespace install {
namespace {

void SetValue(HKEY key, const RegistryValue& value) {
  if (value.type == RegistryValue::Type::String) {
    RegSetValueExW(key, value.name.c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(value.text.c_str()),
                   static_cast<DWORD>((value.text.size() + 1) * sizeof(wchar_t)));
  } else {
    DWORD data = static_cast<DWORD>(value.number);
    RegSetValueExW(key, value.name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                   sizeof data);
  }
}

void RunNetAndWait(const wchar_t* parameters) {
  SHELLEXECUTEINFOW run = {};
  run.cbSize = sizeof run;
  run.fMask = SEE_MASK_NOCLOSEPROCESS;
  run.hwnd = nullptr;
  run.lpVerb = L"open";
  run.lpFile = kNetCommand;
  run.lpParameters = parameters;
  run.lpDirectory = nullptr;
  run.nShow = SW_HIDE;
  if (!ShellExecuteExW(&run) || !run.hProcess) return;
  WaitForSingleObject(run.hProcess, kNetCommandWaitMs);
  CloseHandle(run.hProcess);
}

}  // namespace

void SetSerialPortSettings(const std::wstring& portName, const std::wstring& baudText) {
  HKEY ports = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSerialPortsKey, 0, KEY_READ | KEY_WRITE, &ports) ==
      ERROR_SUCCESS) {
    SetValue(ports, {portName, RegistryValue::Type::String, SerialPortValue(baudText), 0});
    RegCloseKey(ports);
  }
  RestartSpooler();
}

void RegisterTcpIpPort(const std::wstring& address) {
  // An empty key name would open the list key itself and scatter the values over it.
  if (address.empty()) return;
  HKEY ports = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTcpIpPortsKey, 0, KEY_READ | KEY_WRITE, &ports) !=
      ERROR_SUCCESS)
    return;
  HKEY port = nullptr;
  LONG created =
      RegCreateKeyExW(ports, TcpIpPortKeyName(address).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_READ | KEY_WRITE, nullptr, &port, nullptr);
  RegCloseKey(ports);
  if (created != ERROR_SUCCESS) return;

  OSVERSIONINFOW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  const bool versionKnown = GetVersionExW(&version) != FALSE;
  for (const RegistryValue& value : TcpIpPortValues(
           address, versionKnown ? std::optional<unsigned>(version.dwMajorVersion) : std::nullopt))
    SetValue(port, value);
  RegCloseKey(port);
  if (versionKnown) RestartSpooler();
}

void RestartSpooler() {
  RunNetAndWait(kStopSpoolerParameters);
  Sleep(kSpoolerRestartPauseMs);
  RunNetAndWait(kStartSpoolerParameters);
}

}  // namespace install
