// The printers' discovery protocol on the local network: the datagrams, how a reply is
// classified, and what one discovery pass does with a reply. All of it is decided here from
// values; discovery/lan_discovery_win.cpp only moves the datagrams and applies the decision.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace discovery {

// UDP port of the printers: destination of every datagram the tool sends, source port of every
// reply it accepts.
constexpr uint16_t kPrinterPort = 1460;
// Local port of the tool's discovery socket.
constexpr uint16_t kToolPort = 5001;
// The receive buffer. A datagram keeps at most one byte less, so that the reply can always be
// ended with a zero byte; longer datagrams are cut.
constexpr size_t kReceiveBufferSize = 256;
constexpr size_t kMaxDatagramBytes = kReceiveBufferSize - 1;
constexpr size_t kSaveCommandSize = 64;

// What the dialog shows as the last reply once the endpoint is closed.
constexpr const wchar_t* kStatusStopped = L"停止接收数据";

// "QV0001FIND" and its terminating zero: 11 bytes, broadcast to the printer port.
std::string FindRequest();

// The command that switches a printer of another segment to DHCP, built from its reply: 64
// bytes, "QV0001SAVE", the settings block of reply bytes 11 to 63 moved one position forward
// with bytes 16-17 = 16, 30-31 = 9100 (both little-endian) and 32 = 1, and a final zero. Absent
// when the reply is shorter than 64 bytes: the block would hold bytes that were never received.
std::optional<std::string> SaveCommand(std::string_view reply);

// The bytes of a datagram up to its first zero byte (all of them when it has none): the part
// that is shown as text.
std::string_view TextPart(std::string_view datagram);

// The diagnostic line of a reply: its text, the sender's address, ":" and the sender's port.
std::wstring ReplyStatusText(const std::wstring& replyText, const std::wstring& senderAddress,
                             uint16_t senderPort);

// The sender's address text up to and including its last "." (192.168.1.57 gives 192.168.1.).
// Empty when the text has no dot.
std::wstring SegmentPrefix(const std::wstring& address);

enum class ReplyKind {
  NotAReply,     // the first byte is not "Q" (or the datagram is empty)
  OwnSegment,    // a printer of the tool's own segment: a port candidate
  OtherSegment,  // a printer elsewhere: it is sent the SAVE command
  Unmatched,     // a reply that neither applies to (wrong port, broadcast or null sender)
};

// The own segment is a text test: the sender's segment prefix occurs anywhere in
// localAddressText (the local addresses, each followed by "_") and the sender's port is 1460.
// Another segment: port 1460 and a sender that is neither 255.255.255.255 nor 0.0.0.0.
ReplyKind ClassifyReply(std::string_view datagram, const std::wstring& senderAddress,
                        uint16_t senderPort, const std::wstring& localAddressText);

struct Sender {
  std::wstring address;  // dotted IPv4, as the socket layer reports it
  uint16_t port = 0;
};

// Asks whether a printer (dotted IPv4 text) answers an echo request.
using PingFunction = std::function<bool(const std::wstring& address)>;

// A received datagram as the pass reads it (steps before any decision).
struct ReceivedReply {
  ReplyKind kind = ReplyKind::NotAReply;
  std::string datagram;  // the received bytes, cut to kMaxDatagramBytes
  std::string text;      // TextPart of the datagram when it is a reply ("Q"), else empty
};

ReceivedReply ReadReply(std::string_view received, const Sender& sender,
                        const std::wstring& localAddressText);

// What one discovery pass does with a reply.
struct PassDecision {
  bool goOn = true;  // the pass's result: false ends the search worker, which is restarted
  std::optional<std::wstring> removed;     // the known printer that no longer answers pings
  std::optional<std::wstring> added;       // the sender, a printer of the own segment not known yet
  std::optional<std::string> saveCommand;  // to broadcast to the printer port
};

// A reply of the own segment pings the known printers in order: the first one that does not
// answer is removed and the pass ends there (false) without adding the sender; when all answer,
// the sender is added unless it is among them. A reply of another segment yields the SAVE
// command (when the reply is long enough) and false. Anything else: true, nothing changes.
PassDecision DecidePass(const ReceivedReply& reply, const Sender& sender,
                        const std::vector<std::wstring>& knownPrinters, const PingFunction& ping);

// Applies a decision to the found printers: removes the first entry equal to `removed` and
// appends `added` unless the list holds it already. The list may have been emptied while the
// pass pinged; then a removal finds nothing and an addition starts the new list.
void ApplyPass(const PassDecision& decision, std::vector<std::wstring>& foundPrinters);

// Debug lines of the pass.
constexpr const wchar_t* kDebugFindSent = L"QV0001FIND";
constexpr const wchar_t* kDebugReceived = L"receive 2";
constexpr const wchar_t* kDebugSendOk = L"发送成功\n";
constexpr const wchar_t* kDebugOwnSegment = L"同网段\n";
constexpr const wchar_t* kDebugSwitchToDhcp = L"打开DHCP\n";
constexpr const wchar_t* kDebugNoSendSocket = L"创建发送端口失败\n";
constexpr const wchar_t* kDebugEndpointOpened = L"创建接收端口成功\n";
constexpr const wchar_t* kDebugEndpointFailed = L"创建接收端口失败\n";

}  // namespace discovery
