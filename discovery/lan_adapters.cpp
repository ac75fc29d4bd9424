#include "discovery/lan_adapters.h"

#include "common/format.h"

namespace discovery {

std::wstring AdapterTypeLine(unsigned type) {
  switch (type) {
    case 1:
      return L"网卡类型:OTHER\n";
    case 6:
      return L"网卡类型：ETHERNET\n";
    case 9:
      return L"网卡类型：TOKENRING\n";
    case 15:
      return L"网卡类型：FDDI\n";
    case 23:
      return L"网卡类型：PPP\n";
    case 24:
      return L"网卡类型：LOOPBACK\n";
    case 28:
      return L"网卡类型：SLIP\n";
    default:
      return L"网卡类型：其它\n";
  }
}

std::string HardwareAddressLine(std::string_view bytes) {
  std::string line;
  for (size_t i = 0; i < bytes.size(); ++i) {
    long long value = static_cast<unsigned char>(bytes[i]);
    line += common::FormatBytes(i + 1 < bytes.size() ? "%02X-" : "%02X\n", {value});
  }
  return line;
}

AdapterReport DescribeAdapters(const std::vector<AdapterRecord>& adapters) {
  AdapterReport report;
  for (const AdapterRecord& adapter : adapters) {
    report.debugLines.push_back(AdapterTypeLine(adapter.type));
    report.debugLines.push_back(L"网卡MAC地址\n");
    report.standardOutput += HardwareAddressLine(adapter.hardwareAddress);
    for (const std::wstring& address : adapter.addresses) {
      report.localAddressText += address + L"_";
      report.debugLines.push_back(L"IP 地址：");
      report.debugLines.push_back(address + L"\n");
    }
  }
  report.debugLines.push_back(report.localAddressText);
  return report;
}

}  // namespace discovery
