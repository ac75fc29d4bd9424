#include "discovery/lan_protocol.h"

#include <algorithm>

namespace discovery {
namespace {

constexpr char kFindText[] = "QV0001FIND";
constexpr char kSaveText[] = "QV0001SAVE";
constexpr size_t kHeadSize = 10;
// The settings block: reply bytes 11 to 63, SAVE command bytes 10 to 62.
constexpr size_t kReplyBlockOffset = 11;
constexpr size_t kBlockSize = 53;

void PutLittleEndian16(std::string& bytes, size_t offset, uint16_t value) {
  bytes[offset] = static_cast<char>(value & 0xFF);
  bytes[offset + 1] = static_cast<char>(value >> 8);
}

}  // namespace

std::string FindRequest() { return std::string(kFindText, sizeof kFindText); }

std::optional<std::string> SaveCommand(std::string_view reply) {
  if (reply.size() < kReplyBlockOffset + kBlockSize) return std::nullopt;
  std::string command(kSaveText, kHeadSize);
  command.append(reply.substr(kReplyBlockOffset, kBlockSize));
  command.push_back('\0');
  PutLittleEndian16(command, 16, 16);
  PutLittleEndian16(command, 30, 9100);  // the raw printing port
  command[32] = 1;                       // DHCP on
  return command;
}

std::string_view TextPart(std::string_view datagram) {
  return datagram.substr(0, datagram.find('\0'));
}

std::wstring ReplyStatusText(const std::wstring& replyText, const std::wstring& senderAddress,
                             uint16_t senderPort) {
  return replyText + senderAddress + L":" + std::to_wstring(senderPort);
}

std::wstring SegmentPrefix(const std::wstring& address) {
  size_t dot = address.rfind(L'.');
  return dot == std::wstring::npos ? std::wstring() : address.substr(0, dot + 1);
}

ReplyKind ClassifyReply(std::string_view datagram, const std::wstring& senderAddress,
                        uint16_t senderPort, const std::wstring& localAddressText) {
  if (datagram.empty() || datagram[0] != 'Q') return ReplyKind::NotAReply;
  if (senderPort != kPrinterPort) return ReplyKind::Unmatched;
  // An empty prefix would occur in every text; a sender without a dot is no own-segment printer.
  std::wstring prefix = SegmentPrefix(senderAddress);
  if (!prefix.empty() && localAddressText.find(prefix) != std::wstring::npos)
    return ReplyKind::OwnSegment;
  if (senderAddress == L"255.255.255.255" || senderAddress == L"0.0.0.0")
    return ReplyKind::Unmatched;
  return ReplyKind::OtherSegment;
}

ReceivedReply ReadReply(std::string_view received, const Sender& sender,
                        const std::wstring& localAddressText) {
  ReceivedReply reply;
  reply.datagram = std::string(received.substr(0, kMaxDatagramBytes));
  reply.kind = ClassifyReply(reply.datagram, sender.address, sender.port, localAddressText);
  if (reply.kind != ReplyKind::NotAReply) reply.text = std::string(TextPart(reply.datagram));
  return reply;
}

PassDecision DecidePass(const ReceivedReply& reply, const Sender& sender,
                        const std::vector<std::wstring>& knownPrinters, const PingFunction& ping) {
  PassDecision decision;
  if (reply.kind == ReplyKind::OwnSegment) {
    bool known = false;
    for (const std::wstring& printer : knownPrinters) {
      if (printer == sender.address) known = true;
      if (!ping(printer)) {
        decision.removed = printer;
        decision.goOn = false;
        return decision;
      }
    }
    if (!known) decision.added = sender.address;
  } else if (reply.kind == ReplyKind::OtherSegment) {
    decision.saveCommand = SaveCommand(reply.datagram);
    decision.goOn = false;
  }
  return decision;
}

void ApplyPass(const PassDecision& decision, std::vector<std::wstring>& foundPrinters) {
  if (decision.removed) {
    auto it = std::find(foundPrinters.begin(), foundPrinters.end(), *decision.removed);
    if (it != foundPrinters.end()) foundPrinters.erase(it);
  }
  if (decision.added &&
      std::find(foundPrinters.begin(), foundPrinters.end(), *decision.added) == foundPrinters.end())
    foundPrinters.push_back(*decision.added);
}

}  // namespace discovery
