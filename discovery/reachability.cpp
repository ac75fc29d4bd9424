#include "discovery/reachability.h"

#include "common/format.h"

namespace discovery {

std::string EchoPayload() {
  std::string payload = "Fill for test ICMP data";
  payload.resize(32, '\0');
  return payload;
}

std::wstring EchoReplyLine(const std::wstring& from, unsigned long bytes, unsigned long timeMs,
                           unsigned ttl) {
  return common::FormatText(L"Reply from %s: bytes=%d time=%d TTL=%d\n",
                            {from, static_cast<long long>(bytes), static_cast<long long>(timeMs),
                             static_cast<long long>(ttl)});
}

}  // namespace discovery
