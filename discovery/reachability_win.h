// Whether a network printer answers: one ICMP echo request over the process-wide ICMP handle.
#pragma once

#include <string>

namespace discovery {

// True when IcmpSendEcho reports at least one reply (whatever its status) within 1000 ms. The
// address is a dotted IPv4 text; another text gets false without a request.
bool PingPrinter(const std::wstring& address);

}  // namespace discovery
