#include "install/ports.h"

#include "common/format.h"

namespace install {

std::wstring SerialPortValue(const std::wstring& baudText) {
  return common::FormatText(L"%s,n,8,1", {baudText});
}

std::wstring TcpIpPortKeyName(const std::wstring& address) {
  return common::FormatText(L"%.259s", {address});
}

std::vector<RegistryValue> TcpIpPortValues(const std::wstring& address,
                                           std::optional<unsigned> windowsMajorVersion) {
  using Type = RegistryValue::Type;
  std::vector<RegistryValue> values;
  if (!address.empty()) values.push_back({L"HostName", Type::String, address, 0});
  const RegistryValue fixed[] = {
      {L"HWAddress", Type::String, L"", 0},
      {L"IPAddress", Type::String, L"", 0},
      {L"PortMonMibPortIndex", Type::Dword, L"", 0},
      {L"PortNumber", Type::Dword, L"", 9100},
      {L"Protocol", Type::Dword, L"", 1},  // raw
      {L"SNMP Community", Type::String, L"harbor", 0},
      {L"SNMP Enabled", Type::Dword, L"", 0},
      {L"SNMP Index", Type::Dword, L"", 1},
  };
  values.insert(values.end(), std::begin(fixed), std::end(fixed));
  if (windowsMajorVersion)
    values.push_back({L"Version", Type::Dword, L"", *windowsMajorVersion == 5 ? 1ul : 2ul});
  return values;
}

}  // namespace install
