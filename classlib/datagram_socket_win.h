// A UDP socket whose blocking receive another thread can cancel or end by closing the socket,
// the way the class library's blocking sockets behave. Winsock 1.1 calls only (select), since the
// application starts Windows Sockets in version 1.1: the wait watches the socket and a loopback
// wake-up socket, to which a cancel sends one byte.
#pragma once

// Winsock before windows.h.
// clang-format off
#include <winsock2.h>
#include <windows.h>
// clang-format on

#include <cstdint>
#include <string>
#include <string_view>

namespace classlib {

class DatagramSocket {
 public:
  enum class Receive { Datagram, Cancelled, Failed };

  DatagramSocket();
  ~DatagramSocket();
  DatagramSocket(const DatagramSocket&) = delete;
  DatagramSocket& operator=(const DatagramSocket&) = delete;

  // Opens the socket bound to `port` on all local addresses (a socket already open is closed
  // first). False, with the Winsock error as the last error, when it cannot be made or bound.
  bool Create(uint16_t port);
  bool IsOpen() const;
  // The bound port (Create with port 0 lets the system choose one); 0 when not open.
  uint16_t LocalPort() const;
  bool SetBroadcast(bool on);
  // Sends one datagram; address in host byte order.
  bool SendTo(std::string_view bytes, uint32_t address, uint16_t port);

  // Waits for one datagram and delivers at most `capacity` bytes of it (a longer datagram is cut,
  // not refused), with the sender's address in host byte order and its port. Cancelled (last
  // error WSAEINTR) when another thread called CancelBlockingCall during the wait; Failed when the
  // socket is not open, was closed during the wait, or the receive reported an error.
  Receive ReceiveFrom(size_t capacity, std::string& bytes, uint32_t& address, uint16_t& port);

  // Ends a receive that waits in another thread; does nothing when none waits.
  void CancelBlockingCall();
  // Closes the socket at once; a receive waiting in another thread fails.
  void Close();

 private:
  bool EnsureWakeSocket();
  void Wake();

  mutable CRITICAL_SECTION lock_;
  SOCKET socket_ = INVALID_SOCKET;
  SOCKET wake_ = INVALID_SOCKET;
  sockaddr_in wakeAddress_ = {};
  unsigned generation_ = 0;  // counts closes, so that a waiting receive notices one
  bool waiting_ = false;
  bool cancelled_ = false;
};

}  // namespace classlib
