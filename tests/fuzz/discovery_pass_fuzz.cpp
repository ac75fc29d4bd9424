// Fuzzes the decision of a LAN discovery pass: arbitrary datagrams from arbitrary senders, with
// arbitrary local addresses, known printers and ping answers. The datagram lives in a buffer of
// exactly its size, so AddressSanitizer reports any read beyond the received bytes; the checks
// below abort on a decision that breaks the protocol's rules.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "common/ipv4_text.h"
#include "discovery/lan_protocol.h"

using namespace discovery;

namespace {

#define CHECK(condition)                                                          \
  do {                                                                            \
    if (!(condition)) {                                                           \
      std::fprintf(stderr, "check failed: %s (line %d)\n", #condition, __LINE__); \
      std::abort();                                                               \
    }                                                                             \
  } while (0)

std::wstring Widen(const std::string& bytes) {
  std::wstring text;
  for (unsigned char b : bytes) text += static_cast<wchar_t>(b);
  return text;
}

// An address text: mostly a real dotted address, often in the segment of `near`, sometimes any
// text at all.
std::wstring SomeAddress(FuzzedDataProvider& in, const std::wstring& near) {
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      return common::FormatIpv4(in.ConsumeIntegral<uint32_t>());
    case 1:
      return SegmentPrefix(near) + std::to_wstring(in.ConsumeIntegral<uint8_t>());
    case 2:
      return near;
    default:
      return Widen(in.ConsumeRandomLengthString(24));
  }
}

void CheckIpv4Text(const std::wstring& text, uint32_t address) {
  auto parsed = common::ParseIpv4(text);
  if (parsed) CHECK(common::FormatIpv4(*parsed) == text);
  CHECK(common::ParseIpv4(common::FormatIpv4(address)) == address);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  uint32_t senderAddress = in.ConsumeIntegral<uint32_t>();
  Sender sender;
  switch (in.ConsumeIntegralInRange(0, 3)) {
    case 0:
      sender.address = L"255.255.255.255";
      break;
    case 1:
      sender.address = L"0.0.0.0";
      break;
    case 2:
      sender.address = Widen(in.ConsumeRandomLengthString(24));
      break;
    default:
      sender.address = common::FormatIpv4(senderAddress);
  }
  sender.port = in.ConsumeBool() ? kPrinterPort : in.ConsumeIntegral<uint16_t>();
  CheckIpv4Text(sender.address, senderAddress);

  std::wstring local;
  for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
    local += SomeAddress(in, sender.address) + L"_";
  std::vector<std::wstring> known;
  for (int n = in.ConsumeIntegralInRange(0, 8); n > 0; --n)
    known.push_back(SomeAddress(in, sender.address));
  uint16_t answers = in.ConsumeIntegral<uint16_t>();

  std::vector<uint8_t> rest = in.ConsumeRemainingBytes<uint8_t>();
  std::unique_ptr<char[]> buffer(new char[rest.size()]);
  std::copy(rest.begin(), rest.end(), buffer.get());
  std::string_view received(buffer.get(), rest.size());

  std::vector<std::wstring> pinged;
  ReceivedReply reply = ReadReply(received, sender, local);
  PassDecision d = DecidePass(reply, sender, known, [&](const std::wstring& address) {
    bool answered = (answers >> (pinged.size() % 16)) & 1;
    pinged.push_back(address);
    return answered;
  });

  std::string_view datagram = received.substr(0, kMaxDatagramBytes);
  CHECK(reply.datagram == datagram);
  CHECK(reply.kind == ClassifyReply(datagram, sender.address, sender.port, local));
  CHECK(pinged.size() <= known.size());
  CHECK(std::equal(pinged.begin(), pinged.end(), known.begin()));
  CHECK(!(d.added && d.removed));
  CHECK(d.saveCommand.has_value() ==
        (reply.kind == ReplyKind::OtherSegment && datagram.size() >= 64));
  CHECK(d.goOn == (reply.kind != ReplyKind::OtherSegment && !d.removed));

  if (reply.kind == ReplyKind::NotAReply) {
    CHECK(datagram.empty() || datagram[0] != 'Q');
    CHECK(reply.text.empty());
  } else {
    CHECK(reply.text == TextPart(datagram));
    CHECK(reply.text.find('\0') == std::string::npos && !reply.text.empty());
  }
  if (reply.kind != ReplyKind::OwnSegment) CHECK(pinged.empty() && !d.added && !d.removed);

  bool wasKnown = std::find(known.begin(), known.end(), sender.address) != known.end();
  if (d.removed) {
    CHECK(!pinged.empty() && *d.removed == pinged.back());
    CHECK(!((answers >> ((pinged.size() - 1) % 16)) & 1));
  } else if (reply.kind == ReplyKind::OwnSegment) {
    CHECK(pinged.size() == known.size());
    CHECK(d.added.has_value() == !wasKnown);
    if (d.added) CHECK(*d.added == sender.address);
  }

  if (d.saveCommand) {
    const std::string& save = *d.saveCommand;
    CHECK(save.size() == kSaveCommandSize);
    CHECK(save.compare(0, 10, "QV0001SAVE") == 0);
    CHECK(save[16] == 0x10 && save[17] == 0 && save[30] == char(0x8C) && save[31] == 0x23);
    CHECK(save[32] == 1 && save[63] == 0);
    for (size_t i = 10; i < 63; ++i) {
      if (i == 16 || i == 17 || (i >= 30 && i <= 32)) continue;
      CHECK(save[i] == datagram[i + 1]);
    }
  }

  std::vector<std::wstring> after = known;
  ApplyPass(d, after);
  if (d.removed) CHECK(after.size() + 1 == known.size());
  if (d.added) CHECK(after.size() == known.size() + 1 && after.back() == sender.address);
  if (!d.removed && !d.added) CHECK(after == known);
  return 0;
}
