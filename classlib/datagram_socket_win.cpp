#include "classlib/datagram_socket_win.h"

#include <vector>

namespace classlib {
namespace {

// The longest a wait lasts without looking at its flags, should the wake-up byte be lost (a
// loopback interface that is down).
constexpr long kWaitSliceSeconds = 1;

class Guard {
 public:
  explicit Guard(CRITICAL_SECTION& section) : section_(section) { EnterCriticalSection(&section_); }
  ~Guard() { LeaveCriticalSection(&section_); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  CRITICAL_SECTION& section_;
};

sockaddr_in Endpoint(uint32_t address, uint16_t port) {
  sockaddr_in endpoint = {};
  endpoint.sin_family = AF_INET;
  endpoint.sin_addr.s_addr = htonl(address);
  endpoint.sin_port = htons(port);
  return endpoint;
}

}  // namespace

DatagramSocket::DatagramSocket() { InitializeCriticalSection(&lock_); }

DatagramSocket::~DatagramSocket() {
  Close();
  if (wake_ != INVALID_SOCKET) closesocket(wake_);
  DeleteCriticalSection(&lock_);
}

bool DatagramSocket::Create(uint16_t port) {
  Close();
  SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
  if (s == INVALID_SOCKET) return false;
  sockaddr_in local = Endpoint(INADDR_ANY, port);
  if (bind(s, reinterpret_cast<sockaddr*>(&local), sizeof local) == SOCKET_ERROR) {
    int error = WSAGetLastError();
    closesocket(s);
    WSASetLastError(error);
    return false;
  }
  Guard guard(lock_);
  socket_ = s;
  return true;
}

bool DatagramSocket::IsOpen() const {
  Guard guard(lock_);
  return socket_ != INVALID_SOCKET;
}

uint16_t DatagramSocket::LocalPort() const {
  Guard guard(lock_);
  sockaddr_in local = {};
  int length = sizeof local;
  if (socket_ == INVALID_SOCKET ||
      getsockname(socket_, reinterpret_cast<sockaddr*>(&local), &length) == SOCKET_ERROR)
    return 0;
  return ntohs(local.sin_port);
}

bool DatagramSocket::SetBroadcast(bool on) {
  Guard guard(lock_);
  if (socket_ == INVALID_SOCKET) {
    WSASetLastError(WSAENOTSOCK);
    return false;
  }
  BOOL value = on ? TRUE : FALSE;
  return setsockopt(socket_, SOL_SOCKET, SO_BROADCAST, reinterpret_cast<const char*>(&value),
                    sizeof value) != SOCKET_ERROR;
}

bool DatagramSocket::SendTo(std::string_view bytes, uint32_t address, uint16_t port) {
  Guard guard(lock_);
  if (socket_ == INVALID_SOCKET) {
    WSASetLastError(WSAENOTSOCK);
    return false;
  }
  sockaddr_in to = Endpoint(address, port);
  int sent = sendto(socket_, bytes.data(), static_cast<int>(bytes.size()), 0,
                    reinterpret_cast<sockaddr*>(&to), sizeof to);
  return sent != SOCKET_ERROR;
}

DatagramSocket::Receive DatagramSocket::ReceiveFrom(size_t capacity, std::string& bytes,
                                                    uint32_t& address, uint16_t& port) {
  SOCKET s;
  SOCKET wake;
  unsigned generation;
  {
    Guard guard(lock_);
    if (socket_ == INVALID_SOCKET) {
      WSASetLastError(WSAENOTSOCK);
      return Receive::Failed;
    }
    s = socket_;
    generation = generation_;
    if (EnsureWakeSocket()) {
      // Bytes of cancels that came after their receive had ended (the socket does not block).
      char stale[16];
      while (recv(wake_, stale, sizeof stale, 0) > 0) {
      }
    }
    wake = wake_;
    cancelled_ = false;
    waiting_ = true;
  }

  std::vector<char> buffer(capacity > 0 ? capacity : 1);
  for (;;) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(s, &readable);
    if (wake != INVALID_SOCKET) FD_SET(wake, &readable);
    timeval slice = {kWaitSliceSeconds, 0};
    int ready = select(0, &readable, nullptr, nullptr, &slice);
    int selectError = ready == SOCKET_ERROR ? WSAGetLastError() : 0;

    Guard guard(lock_);
    if (generation_ != generation) {
      waiting_ = false;
      WSASetLastError(WSAENOTSOCK);
      return Receive::Failed;
    }
    if (cancelled_) {
      waiting_ = false;
      WSASetLastError(WSAEINTR);
      return Receive::Cancelled;
    }
    if (ready == SOCKET_ERROR) {
      waiting_ = false;
      WSASetLastError(selectError);
      return Receive::Failed;
    }
    if (ready > 0 && FD_ISSET(s, &readable)) {
      waiting_ = false;
      sockaddr_in from = {};
      int fromLength = sizeof from;
      int received = recvfrom(s, buffer.data(), static_cast<int>(capacity), 0,
                              reinterpret_cast<sockaddr*>(&from), &fromLength);
      if (received == SOCKET_ERROR) {
        // A datagram longer than the buffer fills it and reports WSAEMSGSIZE; it is kept, cut.
        if (WSAGetLastError() != WSAEMSGSIZE) return Receive::Failed;
        received = static_cast<int>(capacity);
      }
      bytes.assign(buffer.data(), static_cast<size_t>(received));
      address = ntohl(from.sin_addr.s_addr);
      port = ntohs(from.sin_port);
      return Receive::Datagram;
    }
  }
}

void DatagramSocket::CancelBlockingCall() {
  Guard guard(lock_);
  if (!waiting_) return;
  cancelled_ = true;
  Wake();
}

void DatagramSocket::Close() {
  Guard guard(lock_);
  if (socket_ == INVALID_SOCKET) return;
  closesocket(socket_);
  socket_ = INVALID_SOCKET;
  ++generation_;
  if (waiting_) Wake();
}

bool DatagramSocket::EnsureWakeSocket() {
  if (wake_ != INVALID_SOCKET) return true;
  SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
  if (s == INVALID_SOCKET) return false;
  sockaddr_in loopback = Endpoint(INADDR_LOOPBACK, 0);
  int length = sizeof loopback;
  if (bind(s, reinterpret_cast<sockaddr*>(&loopback), sizeof loopback) == SOCKET_ERROR ||
      getsockname(s, reinterpret_cast<sockaddr*>(&loopback), &length) == SOCKET_ERROR) {
    closesocket(s);
    return false;
  }
  u_long nonBlocking = 1;
  ioctlsocket(s, FIONBIO, &nonBlocking);
  wake_ = s;
  wakeAddress_ = loopback;
  return true;
}

void DatagramSocket::Wake() {
  if (wake_ == INVALID_SOCKET) return;
  int error = WSAGetLastError();
  char byte = 0;
  sendto(wake_, &byte, 1, 0, reinterpret_cast<sockaddr*>(&wakeAddress_), sizeof wakeAddress_);
  WSASetLastError(error);
}

}  // namespace classlib
