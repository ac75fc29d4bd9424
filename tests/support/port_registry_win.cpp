#include "support/port_registry_win.h"

#include <stdexcept>

namespace testsupport {
namespace {

// The hardware branch is volatile, and so must be every key made below it.
HKEY OpenSerialMap() {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_LOCAL_MACHINE, SerialMapOverride::kPath, 0, nullptr, REG_OPTION_VOLATILE,
                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
  return key;
}

void ClearValues(HKEY key) {
  for (;;) {
    wchar_t name[260];
    DWORD length = 260;
    if (RegEnumValueW(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return;
    RegDeleteValueW(key, name);
  }
}

void SetText(const std::wstring& keyPath, const wchar_t* name, const std::wstring& text) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create a registry key of the test");
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

}  // namespace

bool DeleteRegistryTree(HKEY parent, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return false;
  wchar_t child[260];
  for (;;) {
    DWORD length = 260;
    if (RegEnumKeyExW(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    // A sub-key that cannot go would be listed first again and again.
    if (!DeleteRegistryTree(key, child)) break;
  }
  RegCloseKey(key);
  return RegDeleteKeyW(parent, name.c_str()) == ERROR_SUCCESS;
}

SerialMapOverride::SerialMapOverride() : key_(OpenSerialMap()) {
  for (;;) {
    wchar_t name[260];
    BYTE data[520];
    DWORD nameLength = 260, dataBytes = sizeof data, type = 0;
    if (RegEnumValueW(key_, 0, name, &nameLength, nullptr, &type, data, &dataBytes) !=
        ERROR_SUCCESS)
      break;
    saved_.push_back({name, type, std::string(reinterpret_cast<char*>(data), dataBytes)});
    RegDeleteValueW(key_, name);
  }
}

SerialMapOverride::~SerialMapOverride() {
  RegCloseKey(key_);
  key_ = OpenSerialMap();  // anew: the test may have removed the map
  ClearValues(key_);
  for (const auto& v : saved_)
    RegSetValueExW(key_, v.name.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.data.data()),
                   static_cast<DWORD>(v.data.size()));
  RegCloseKey(key_);
}

void SerialMapOverride::Add(const std::wstring& device, const std::wstring& port, DWORD type) {
  RegSetValueExW(key_, device.c_str(), 0, type, reinterpret_cast<const BYTE*>(port.c_str()),
                 static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t)));
}

void SerialMapOverride::RemoveMap() {
  ClearValues(key_);
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, kPath);
}

BluetoothBranchOverride::BluetoothBranchOverride() { RemoveBranch(); }
BluetoothBranchOverride::~BluetoothBranchOverride() { RemoveBranch(); }

void BluetoothBranchOverride::AddService(const std::wstring& key, const std::wstring& port) {
  SetText(std::wstring(kPath) + L"\\" + key + L"\\7&1a2b3c&0&1\\Device Parameters", L"PortName",
          port);
}

void BluetoothBranchOverride::AddDevice(const std::wstring& key, const std::wstring& friendlyName) {
  SetText(std::wstring(kPath) + L"\\" + key + L"\\8&2b3c4d&0", L"FriendlyName", friendlyName);
}

void BluetoothBranchOverride::RemoveBranch() { DeleteRegistryTree(HKEY_LOCAL_MACHINE, kPath); }

}  // namespace testsupport
