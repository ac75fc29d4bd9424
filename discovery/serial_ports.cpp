#include "discovery/serial_ports.h"

namespace discovery {

void AppendSerialPorts(const std::vector<SerialMapValue>& values,
                       std::vector<std::wstring>& ports) {
  for (const auto& value : values) {
    std::wstring name = value.name;
    for (auto& c : name)
      if (c >= L'A' && c <= L'Z') c = c - L'A' + L'a';
    if (value.isText && name.find(L"serial") != std::wstring::npos) ports.push_back(value.data);
  }
}

BluetoothKeyKind ClassifyBluetoothKey(const std::wstring& keyName) {
  if (keyName.find(L"_LOCALMFG") != std::wstring::npos &&
      keyName.find(L"_LOCALMFG&0000") == std::wstring::npos)
    return BluetoothKeyKind::Service;
  if (keyName.find(L"Dev_") != std::wstring::npos) return BluetoothKeyKind::RemoteDevice;
  return BluetoothKeyKind::Ignored;
}

bool IsBluetoothComPort(const std::wstring& portName) {
  return portName.find(L"COM") != std::wstring::npos;
}

std::wstring BluetoothNameEntry(const std::wstring& friendlyName, const std::wstring& keyName) {
  size_t underscore = keyName.find(L'_');
  std::wstring address =
      underscore == std::wstring::npos ? keyName : keyName.substr(underscore + 1);
  return friendlyName + L"\r\n" + address;
}

}  // namespace discovery
