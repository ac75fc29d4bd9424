// The TCP connection to a network printer's raw printing port 9100, left in the direct-printing
// transport's socket.
#pragma once

#include <string>

namespace discovery {

constexpr unsigned short kRawPrintingPort = 9100;

// Connects to port 9100 of the dotted IPv4 address: up to three non-blocking attempts of one
// second each, 500 ms apart, flushing the ARP entries of the address before the second and the
// third. True when connected or ready within the wait (ready with a connection error, as a
// refused connection may be reported, counts as a failed attempt); the socket then stays open
// (non-blocking) in the transport. A text that is no address changes nothing and gives false; any
// other failure leaves no socket.
bool ConnectRawPort(const std::wstring& address);

}  // namespace discovery
