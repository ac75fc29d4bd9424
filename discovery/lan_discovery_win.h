// The LAN discovery on the system: the discovery socket, the scan of the local adapters and one
// broadcast-and-receive pass, over the process-wide discovery state. The decisions are made by
// discovery/lan_protocol.h; this file moves datagrams and writes the diagnostics.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "classlib/datagram_socket_win.h"
#include "classlib/thread_win.h"

namespace discovery {

// Process-wide discovery state, from before the dialog to the end of the process.
extern classlib::DatagramSocket lanSocket;  // UDP, local port 5001 on all addresses
extern std::atomic<bool> lanListening;      // true while lanSocket is open
extern std::atomic<HANDLE> icmpHandle;      // INVALID_HANDLE_VALUE until IcmpCreateFile succeeded
// lanStatusText and localAddressText are replaced as a whole under their own lock; these give
// copies.
std::wstring LanStatusText();
std::wstring LocalAddressText();

// Opens lanSocket unless lanListening says it is open, and the ICMP handle for the pings.
// Interface thread.
void OpenDiscoveryEndpoint();

// Records the IPv4 addresses of all local adapters, each followed by "_", as localAddressText
// and returns them; on failure returns "" and keeps the old text. Interface thread.
std::wstring ScanLocalAdapters();

// One pass: broadcasts the FIND request, waits for one datagram (until CancelDiscoveryReceive or
// StopLanDiscovery ends the wait) and applies the decision to foundPrinters, which is touched
// only under foundPrintersLock. True: the next pass may follow at once; false: the worker ends.
// Worker thread.
bool RunDiscoveryPass(std::vector<std::wstring>& foundPrinters,
                      classlib::CriticalSection& foundPrintersLock);

// Ends the receive a pass waits in (nothing when none waits). Interface thread, every tick of
// the port monitor while the search runs.
void CancelDiscoveryReceive();

// When lanListening: closes lanSocket (a waiting receive fails at once), sets lanStatusText to
// "停止接收数据" and clears lanListening. Otherwise nothing.
void StopLanDiscovery();

}  // namespace discovery
