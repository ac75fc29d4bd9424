// The local adapters as the discovery sees them: the text of local addresses that defines the
// tool's own network segment, and the diagnostics written while the adapters are scanned.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace discovery {

// One adapter of the system's list, in the system's order.
struct AdapterRecord {
  unsigned type = 0;                    // the IP Helper adapter type (6 Ethernet, 24 loopback...)
  std::string hardwareAddress;          // its bytes, as many as the adapter reports
  std::vector<std::wstring> addresses;  // dotted IPv4 texts of its address list
};

struct AdapterReport {
  // Every address followed by "_", for example 192.168.1.20_0.0.0.0_.
  std::wstring localAddressText;
  std::vector<std::wstring> debugLines;  // one debug-output call each, in order
  std::string standardOutput;            // the hardware addresses, one line per adapter
};

// The debug line of an adapter type: "网卡类型:OTHER\n" for 1 (ASCII colon), full-width colon for
// 6 ETHERNET, 9 TOKENRING, 15 FDDI, 23 PPP, 24 LOOPBACK, 28 SLIP, and "网卡类型：其它\n" otherwise.
std::wstring AdapterTypeLine(unsigned type);

// "%02X-" per byte except the last, which is "%02X\n"; empty for no bytes.
std::string HardwareAddressLine(std::string_view bytes);

AdapterReport DescribeAdapters(const std::vector<AdapterRecord>& adapters);

}  // namespace discovery
