#include "discovery/raw_port_win.h"

#include <iphlpapi.h>
#include <windows.h>
#include <winsock2.h>

#include <vector>

#include "common/ipv4_text.h"
#include "printing/transport_win.h"

namespace discovery {
namespace {

constexpr int kAttempts = 3;
constexpr DWORD kAttemptWaitSeconds = 1;
constexpr DWORD kPauseMs = 500;

// The address of the last connection (port 9100).
sockaddr_in g_target = {};

// Stale ARP entries keep a printer that changed its hardware address unreachable; flushing
// the interface's cache lets the next attempt resolve it afresh.
void FlushArpEntriesOf(DWORD networkOrderAddress) {
  ULONG size = 0;
  if (GetIpNetTable(nullptr, &size, TRUE) != ERROR_INSUFFICIENT_BUFFER || size == 0) return;
  std::vector<unsigned char> buffer(size);
  auto* table = reinterpret_cast<MIB_IPNETTABLE*>(buffer.data());
  if (GetIpNetTable(table, &size, TRUE) != NO_ERROR) return;
  for (DWORD i = 0; i < table->dwNumEntries; ++i)
    if (table->table[i].dwAddr == networkOrderAddress) FlushIpNetTable(table->table[i].dwIndex);
}

// The outcome of the connection attempt: 0 when it is connected (or still connecting).
int PendingError(SOCKET s) {
  int error = 0;
  int size = sizeof error;
  if (getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) != 0)
    return WSAGetLastError();
  return error;
}

void CloseSocket(SOCKET& s) {
  if (s != INVALID_SOCKET) closesocket(s);
  s = INVALID_SOCKET;
}

}  // namespace

bool ConnectRawPort(const std::wstring& address) {
  auto parsed = common::ParseIpv4(address);
  if (!parsed) return false;
  g_target = {};
  g_target.sin_family = AF_INET;
  g_target.sin_port = htons(kRawPrintingPort);
  g_target.sin_addr.s_addr = htonl(*parsed);
  SOCKET& s = printing::Transport().socket;
  CloseSocket(s);
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (attempt > 0) {
      Sleep(kPauseMs);
      FlushArpEntriesOf(g_target.sin_addr.s_addr);
    }
    s = socket(AF_INET, SOCK_STREAM, 0);
    if (s == INVALID_SOCKET) return false;
    u_long nonBlocking = 1;
    if (ioctlsocket(s, FIONBIO, &nonBlocking) == SOCKET_ERROR) {
      CloseSocket(s);
      return false;
    }
    if (connect(s, reinterpret_cast<const sockaddr*>(&g_target), sizeof g_target) != SOCKET_ERROR)
      return true;
    fd_set readable, writable;
    FD_ZERO(&readable);
    FD_ZERO(&writable);
    FD_SET(s, &readable);
    FD_SET(s, &writable);
    timeval wait = {static_cast<long>(kAttemptWaitSeconds), 0};
    const DWORD began = GetTickCount();
    if (select(0, &readable, &writable, nullptr, &wait) > 0) {
      if (PendingError(s) == 0) return true;
      // Refused: some socket layers report that as ready. It is no connection; the attempt
      // takes its full wait, as one that gets no answer does.
      DWORD spent = GetTickCount() - began;
      if (spent < kAttemptWaitSeconds * 1000) Sleep(kAttemptWaitSeconds * 1000 - spent);
    }
    CloseSocket(s);
  }
  return false;
}

}  // namespace discovery
