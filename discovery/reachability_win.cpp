#include "discovery/reachability_win.h"

// Order matters: Winsock before windows.h, the IP Helper types before the ICMP calls.
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
#include <icmpapi.h>
// clang-format on

#include <vector>

#include "common/ipv4_text.h"
#include "discovery/lan_discovery_win.h"
#include "discovery/reachability.h"

namespace discovery {

bool PingPrinter(const std::wstring& address) {
  auto target = common::ParseIpv4(address);
  if (!target) {
    OutputDebugStringW((address + kDebugPrinterOffline).c_str());
    return false;
  }
  HANDLE icmp = icmpHandle.load();
  if (icmp == INVALID_HANDLE_VALUE) {
    OutputDebugStringW(kDebugNoIcmpHandle);
    return false;
  }
  std::string payload = EchoPayload();
  std::vector<unsigned char> replies(kEchoReplyBufferSize, 0);
  DWORD count =
      IcmpSendEcho(icmp, htonl(*target), &payload[0], static_cast<WORD>(payload.size()), nullptr,
                   replies.data(), static_cast<DWORD>(replies.size()), kEchoTimeoutMs);
  if (count == 0) {
    OutputDebugStringW((address + kDebugPrinterOffline).c_str());
    return false;
  }
  const ICMP_ECHO_REPLY* first = reinterpret_cast<const ICMP_ECHO_REPLY*>(replies.data());
  std::wstring from = common::FormatIpv4(ntohl(first->Address));
  OutputDebugStringW(
      EchoReplyLine(from, first->DataSize, first->RoundTripTime, first->Options.Ttl).c_str());
  OutputDebugStringW((address + kDebugPrinterOnline).c_str());
  return true;
}

}  // namespace discovery
