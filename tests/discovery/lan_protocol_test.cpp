#include "discovery/lan_protocol.h"

#include <gtest/gtest.h>

#include "support/hex_bytes.h"

namespace discovery {
namespace {

using testsupport::ToHex;

// A reply whose byte i is i (byte 0 is "Q"), so every moved byte shows where it came from.
std::string NumberedReply(size_t size) {
  std::string reply(size, '\0');
  for (size_t i = 0; i < size; ++i) reply[i] = static_cast<char>(i);
  if (size > 0) reply[0] = 'Q';
  return reply;
}

TEST(FindRequest, IsTheTextAndItsZero) {
  EXPECT_EQ(ToHex(FindRequest()), "51 56 30 30 30 31 46 49 4E 44 00");
}

TEST(SaveCommand, MovesTheSettingsBlockAndReplacesThreeFields) {
  const char* expected =
      "51 56 30 30 30 31 53 41 56 45 "        // QV0001SAVE
      "0B 0C 0D 0E 0F 10 "                    // reply 11-16
      "10 00 "                                // 16
      "13 14 15 16 17 18 19 1A 1B 1C 1D 1E "  // reply 19-30
      "8C 23 "                                // 9100
      "01 "                                   // DHCP on
      "22 23 24 25 26 27 28 29 2A 2B 2C 2D 2E 2F 30 31 32 33 34 35 36 37 38 39 3A 3B 3C 3D 3E 3F "
      "00";
  auto command = SaveCommand(NumberedReply(64));
  ASSERT_TRUE(command.has_value());
  EXPECT_EQ(command->size(), kSaveCommandSize);
  EXPECT_EQ(ToHex(*command), expected);
  // Bytes after the settings block are not examined.
  EXPECT_EQ(SaveCommand(NumberedReply(200)), command);
}

TEST(SaveCommand, NeedsTheWholeSettingsBlock) {
  for (size_t size : {0, 1, 11, 33, 63}) {
    SCOPED_TRACE(size);
    EXPECT_FALSE(SaveCommand(NumberedReply(size)).has_value());
  }
}

TEST(TextPart, StopsAtTheFirstZero) {
  using namespace std::string_view_literals;
  EXPECT_EQ(TextPart("QPRN\0tail"sv), "QPRN");
  EXPECT_EQ(TextPart("QPRN"sv), "QPRN");
  EXPECT_EQ(TextPart("\0Q"sv), "");
}

TEST(ReplyStatusText, ReplySenderAndPort) {
  EXPECT_EQ(ReplyStatusText(L"QV0001", L"192.168.1.57", 1460), L"QV0001192.168.1.57:1460");
}

TEST(SegmentPrefix, UpToTheLastDot) {
  EXPECT_EQ(SegmentPrefix(L"192.168.1.57"), L"192.168.1.");
  EXPECT_EQ(SegmentPrefix(L"10.0.0.8"), L"10.0.0.");
  EXPECT_EQ(SegmentPrefix(L"host"), L"");
}

TEST(ClassifyReply, FirstBytePortSegmentAndExcludedSenders) {
  struct Case {
    const char* datagram;
    const wchar_t* sender;
    uint16_t port;
    const wchar_t* local;
    ReplyKind expected;
  };
  const Case cases[] = {
      {"QREPLY", L"192.168.1.57", 1460, L"192.168.1.20_", ReplyKind::OwnSegment},
      {"QREPLY", L"192.168.1.57", 1461, L"192.168.1.20_", ReplyKind::Unmatched},
      // The segment test is a text search: 2.168.1. occurs inside 192.168.1.20_.
      {"QREPLY", L"2.168.1.9", 1460, L"192.168.1.20_", ReplyKind::OwnSegment},
      {"QREPLY", L"192.168.1.57", 1460, L"10.0.0.2_192.168.1.20_", ReplyKind::OwnSegment},
      {"QREPLY", L"10.0.0.8", 1460, L"192.168.1.20_", ReplyKind::OtherSegment},
      {"QREPLY", L"10.0.0.8", 1461, L"192.168.1.20_", ReplyKind::Unmatched},
      {"QREPLY", L"255.255.255.255", 1460, L"192.168.1.20_", ReplyKind::Unmatched},
      {"QREPLY", L"0.0.0.0", 1460, L"192.168.1.20_", ReplyKind::Unmatched},
      // Before the first adapter scan nothing is the own segment.
      {"QREPLY", L"192.168.1.57", 1460, L"", ReplyKind::OtherSegment},
      {"qREPLY", L"192.168.1.57", 1460, L"192.168.1.20_", ReplyKind::NotAReply},
      {"XREPLY", L"10.0.0.8", 1460, L"192.168.1.20_", ReplyKind::NotAReply},
      {"XREPLY", L"192.168.1.57", 1461, L"192.168.1.20_", ReplyKind::NotAReply},
      {"", L"192.168.1.57", 1460, L"192.168.1.20_", ReplyKind::NotAReply},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.datagram) + " " + std::to_string(c.port));
    EXPECT_EQ(ClassifyReply(c.datagram, c.sender, c.port, c.local), c.expected);
  }
}

}  // namespace
}  // namespace discovery
