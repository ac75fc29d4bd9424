#include "discovery/serial_ports_win.h"

#include <windows.h>

#include "discovery/serial_ports.h"

namespace discovery {
namespace {

constexpr DWORD kNameChars = 260;
constexpr DWORD kSerialDataBytes = 260;
// Enumerations end at ERROR_NO_MORE_ITEMS; the bound only guards against a registry that never
// says so.
constexpr DWORD kMaxIndex = 100000;
const wchar_t kBluetoothBranch[] = L"SYSTEM\\CurrentControlSet\\Enum\\BTHENUM";

// A registry text of at most `bytes` bytes, cut at its first zero; none when the value is
// missing, longer or not a text.
bool ReadText(HKEY key, const wchar_t* valueName, DWORD bytes, std::wstring& text) {
  std::wstring buffer(bytes / sizeof(wchar_t) + 1, L'\0');  // one unit more: always terminated
  DWORD type = 0;
  DWORD size = bytes;
  if (RegQueryValueExW(key, valueName, nullptr, &type, reinterpret_cast<BYTE*>(&buffer[0]),
                       &size) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return false;
  text = buffer.c_str();
  return true;
}

// A text of the registry data as it was returned, cut at its first zero.
std::wstring TextOf(const std::wstring& buffer, DWORD bytes) {
  return std::wstring(buffer.c_str(), wcsnlen(buffer.c_str(), bytes / sizeof(wchar_t)));
}

bool EnumSubkey(HKEY key, DWORD index, std::wstring& name) {
  wchar_t buffer[kNameChars + 1] = {};
  DWORD length = kNameChars;
  if (RegEnumKeyExW(key, index, buffer, &length, nullptr, nullptr, nullptr, nullptr) !=
      ERROR_SUCCESS)
    return false;
  name.assign(buffer, length);
  return true;
}

// The PortName of a service instance, listed when it names a COM port. False: stop the
// instances of this device key.
bool AddServicePort(const std::wstring& instancePath, std::vector<std::wstring>& ports) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, (instancePath + L"\\Device Parameters").c_str(), 0,
                    KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  std::wstring port;
  bool read = ReadText(key, L"PortName", kBluetoothValueBytes, port);
  RegCloseKey(key);
  if (read && IsBluetoothComPort(port)) ports.push_back(port);
  return read;
}

// The FriendlyName of a remote device instance as a name entry. False: stop the instances.
bool AddDeviceName(const std::wstring& instancePath, const std::wstring& deviceKey,
                   std::vector<std::wstring>& names) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, instancePath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return false;
  std::wstring name;
  bool read = ReadText(key, L"FriendlyName", kBluetoothValueBytes, name);
  RegCloseKey(key);
  if (read) names.push_back(BluetoothNameEntry(name, deviceKey));
  return read;
}

}  // namespace

bool ListSerialPorts(std::vector<std::wstring>& portList) {
  HKEY map = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &map) !=
      ERROR_SUCCESS)
    return true;
  std::vector<SerialMapValue> values;
  for (DWORD index = 0; index < kMaxIndex; ++index) {
    wchar_t name[kNameChars + 1] = {};
    std::wstring data(kSerialDataBytes / sizeof(wchar_t) + 1, L'\0');
    DWORD nameLength = kNameChars;
    DWORD dataBytes = kSerialDataBytes;
    DWORD type = REG_NONE;
    LONG result = RegEnumValueW(map, index, name, &nameLength, nullptr, &type,
                                reinterpret_cast<BYTE*>(&data[0]), &dataBytes);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result != ERROR_SUCCESS) continue;  // this value cannot be read; the next may
    values.push_back({name, type == REG_SZ || type == REG_EXPAND_SZ, TextOf(data, dataBytes)});
  }
  RegCloseKey(map);
  AppendSerialPorts(values, portList);
  return true;
}

void ListBluetoothSerialPorts(std::vector<std::wstring>& portList,
                              std::vector<std::wstring>& nameList) {
  HKEY branch = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kBluetoothBranch, 0, KEY_READ, &branch) != ERROR_SUCCESS)
    return;
  std::wstring deviceKey;
  for (DWORD index = 0; index < kMaxIndex && EnumSubkey(branch, index, deviceKey); ++index) {
    BluetoothKeyKind kind = ClassifyBluetoothKey(deviceKey);
    if (kind == BluetoothKeyKind::Ignored) continue;
    const std::wstring devicePath = std::wstring(kBluetoothBranch) + L"\\" + deviceKey;
    HKEY device = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, devicePath.c_str(), 0, KEY_READ, &device) !=
        ERROR_SUCCESS)
      continue;
    std::wstring instance;
    for (DWORD i = 0; i < kMaxIndex && EnumSubkey(device, i, instance); ++i) {
      const std::wstring instancePath = devicePath + L"\\" + instance;
      bool read = kind == BluetoothKeyKind::Service
                      ? AddServicePort(instancePath, portList)
                      : AddDeviceName(instancePath, deviceKey, nameList);
      if (!read) break;
    }
    RegCloseKey(device);
  }
  RegCloseKey(branch);
}

}  // namespace discovery
