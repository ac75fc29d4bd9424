// The cancellable datagram socket over loopback only.
#include <gtest/gtest.h>

#include <functional>

#include "classlib/datagram_socket_win.h"
#include "support/winsock_win.h"

namespace classlib {
namespace {

constexpr uint32_t kLoopback = 0x7F000001;

// Runs an action on another thread after a delay; joined (bounded) on destruction.
class Later {
 public:
  Later(DWORD delayMs, std::function<void()> action) : delayMs_(delayMs), action_(action) {
    thread_ = CreateThread(nullptr, 0, &Later::Run, this, 0, nullptr);
  }
  ~Later() {
    WaitForSingleObject(thread_, 10000);
    CloseHandle(thread_);
  }

 private:
  static DWORD WINAPI Run(void* self) {
    auto* later = static_cast<Later*>(self);
    Sleep(later->delayMs_);
    later->action_();
    return 0;
  }
  DWORD delayMs_;
  std::function<void()> action_;
  HANDLE thread_;
};

// Windows Sockets 1.1, as the application starts them: the socket must make do with it.
class DatagramSocketTest : public testsupport::WinsockTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(socket.Create(0));
    port = socket.LocalPort();
    ASSERT_NE(port, 0);
    peer = ::socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(kLoopback);
    ASSERT_EQ(bind(peer, reinterpret_cast<sockaddr*>(&local), sizeof local), 0);
    int length = sizeof local;
    getsockname(peer, reinterpret_cast<sockaddr*>(&local), &length);
    peerPort = ntohs(local.sin_port);
  }
  void TearDown() override { closesocket(peer); }

  void SendFromPeer(const std::string& bytes) {
    sockaddr_in to = {};
    to.sin_family = AF_INET;
    to.sin_addr.s_addr = htonl(kLoopback);
    to.sin_port = htons(port);
    sendto(peer, bytes.data(), static_cast<int>(bytes.size()), 0, reinterpret_cast<sockaddr*>(&to),
           sizeof to);
  }

  DatagramSocket::Receive Receive(size_t capacity = 256) {
    return socket.ReceiveFrom(capacity, bytes, address, fromPort);
  }

  DatagramSocket socket;
  uint16_t port = 0;
  SOCKET peer = INVALID_SOCKET;
  uint16_t peerPort = 0;
  std::string bytes;
  uint32_t address = 0;
  uint16_t fromPort = 0;
};

TEST_F(DatagramSocketTest, DeliversTheDatagramAndItsSender) {
  Later send(100, [this] { SendFromPeer(std::string("QV0001\0xy", 9)); });
  ASSERT_EQ(Receive(), DatagramSocket::Receive::Datagram);
  EXPECT_EQ(bytes, std::string("QV0001\0xy", 9));
  EXPECT_EQ(address, kLoopback);
  EXPECT_EQ(fromPort, peerPort);
}

TEST_F(DatagramSocketTest, CutsADatagramLongerThanTheBuffer) {
  std::string big(300, 'Q');
  for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<char>(i);
  SendFromPeer(big);
  ASSERT_EQ(Receive(256), DatagramSocket::Receive::Datagram);
  EXPECT_EQ(bytes, big.substr(0, 256));
}

TEST_F(DatagramSocketTest, CancelFromAnotherThreadEndsTheWait) {
  DWORD start = GetTickCount();
  Later cancel(200, [this] { socket.CancelBlockingCall(); });
  EXPECT_EQ(Receive(), DatagramSocket::Receive::Cancelled);
  EXPECT_EQ(WSAGetLastError(), WSAEINTR);
  EXPECT_LT(GetTickCount() - start, 900u);
  // The socket stays usable.
  SendFromPeer("Q");
  EXPECT_EQ(Receive(), DatagramSocket::Receive::Datagram);
}

TEST_F(DatagramSocketTest, CancelWithoutAWaitingReceiveIsForgotten) {
  socket.CancelBlockingCall();
  Later send(300, [this] { SendFromPeer("Q1"); });
  EXPECT_EQ(Receive(), DatagramSocket::Receive::Datagram);
  EXPECT_EQ(bytes, "Q1");
}

TEST_F(DatagramSocketTest, CloseFromAnotherThreadFailsTheWaitAndFreesThePort) {
  DWORD start = GetTickCount();
  Later close(200, [this] { socket.Close(); });
  EXPECT_EQ(Receive(), DatagramSocket::Receive::Failed);
  EXPECT_LT(GetTickCount() - start, 900u);
  EXPECT_FALSE(socket.IsOpen());
  EXPECT_EQ(Receive(), DatagramSocket::Receive::Failed);
  EXPECT_FALSE(socket.SendTo("Q", kLoopback, peerPort));
  // The port is free again at once.
  EXPECT_TRUE(socket.Create(port));
}

TEST_F(DatagramSocketTest, SendsToThePeer) {
  ASSERT_TRUE(socket.SendTo(std::string("QV0001FIND\0", 11), kLoopback, peerPort));
  char buffer[64];
  int received = recv(peer, buffer, sizeof buffer, 0);
  EXPECT_EQ(std::string(buffer, received > 0 ? received : 0), std::string("QV0001FIND\0", 11));
}

}  // namespace
}  // namespace classlib
