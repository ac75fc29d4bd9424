#include <gtest/gtest.h>

#include <set>

#include "discovery/lan_protocol.h"

namespace discovery {
namespace {

const std::wstring kLocal = L"192.168.1.20_";

std::string Reply(size_t size = 64) {
  std::string reply(size, '\x5A');
  reply[0] = 'Q';
  return reply;
}

// A network of printers that answer pings unless told otherwise; it records every ping.
class PassTest : public ::testing::Test {
 protected:
  // One pass over a received datagram; the reply as read is kept in `reply`.
  PassDecision Pass(const std::string& datagram, const std::wstring& sender,
                    uint16_t port = kPrinterPort) {
    Sender from{sender, port};
    reply = ReadReply(datagram, from, kLocal);
    PassDecision d = DecidePass(reply, from, found, [this](auto& address) {
      pinged.push_back(address);
      return silent.count(address) == 0;
    });
    ApplyPass(d, found);
    return d;
  }

  ReceivedReply reply;
  std::vector<std::wstring> found;
  std::set<std::wstring> silent;
  std::vector<std::wstring> pinged;
};

TEST_F(PassTest, OwnSegmentPrinterIsAddedOnce) {
  PassDecision first = Pass(Reply(), L"192.168.1.57");
  EXPECT_TRUE(first.goOn);
  EXPECT_EQ(reply.kind, ReplyKind::OwnSegment);
  EXPECT_EQ(first.added, L"192.168.1.57");
  EXPECT_TRUE(pinged.empty());

  PassDecision second = Pass(Reply(), L"192.168.1.57");
  EXPECT_TRUE(second.goOn);
  EXPECT_FALSE(second.added.has_value());
  EXPECT_EQ(found, std::vector<std::wstring>{L"192.168.1.57"});
  // A repeated reply still pings every known printer.
  EXPECT_EQ(pinged, std::vector<std::wstring>{L"192.168.1.57"});
}

TEST_F(PassTest, SilentKnownPrinterIsRemovedAndTheSenderWaitsForALaterPass) {
  found = {L"192.168.1.5", L"192.168.1.6", L"192.168.1.7"};
  silent = {L"192.168.1.6"};
  PassDecision d = Pass(Reply(), L"192.168.1.57");
  EXPECT_FALSE(d.goOn);
  EXPECT_EQ(d.removed, L"192.168.1.6");
  EXPECT_FALSE(d.added.has_value());
  // The walk stops at the silent printer.
  EXPECT_EQ(pinged, (std::vector<std::wstring>{L"192.168.1.5", L"192.168.1.6"}));
  EXPECT_EQ(found, (std::vector<std::wstring>{L"192.168.1.5", L"192.168.1.7"}));

  PassDecision later = Pass(Reply(), L"192.168.1.57");
  EXPECT_TRUE(later.goOn);
  EXPECT_EQ(found, (std::vector<std::wstring>{L"192.168.1.5", L"192.168.1.7", L"192.168.1.57"}));
}

TEST_F(PassTest, SenderThatStopsAnsweringPingsIsRemoved) {
  found = {L"192.168.1.57"};
  silent = {L"192.168.1.57"};
  PassDecision d = Pass(Reply(), L"192.168.1.57");
  EXPECT_FALSE(d.goOn);
  EXPECT_TRUE(found.empty());
}

TEST_F(PassTest, OtherSegmentPrinterGetsTheSaveCommand) {
  found = {L"192.168.1.5"};
  PassDecision d = Pass(Reply(), L"10.0.0.8");
  EXPECT_FALSE(d.goOn);
  EXPECT_EQ(reply.kind, ReplyKind::OtherSegment);
  EXPECT_EQ(d.saveCommand, SaveCommand(Reply()));
  EXPECT_TRUE(pinged.empty());
  EXPECT_EQ(found, std::vector<std::wstring>{L"192.168.1.5"});
}

TEST_F(PassTest, ShortReplyOfOtherSegmentSendsNothing) {
  PassDecision d = Pass(Reply(20), L"10.0.0.8");
  EXPECT_FALSE(d.goOn);
  EXPECT_EQ(reply.kind, ReplyKind::OtherSegment);
  EXPECT_FALSE(d.saveCommand.has_value());
}

TEST_F(PassTest, IgnoredDatagramsChangeNothing) {
  found = {L"192.168.1.5"};
  std::string notAReply = Reply();
  notAReply[0] = 'R';
  struct Case {
    std::string datagram;
    const wchar_t* sender;
    uint16_t port;
    ReplyKind kind;
  };
  const Case cases[] = {
      {notAReply, L"192.168.1.57", 1460, ReplyKind::NotAReply},
      {notAReply, L"10.0.0.8", 1460, ReplyKind::NotAReply},
      {"", L"192.168.1.57", 1460, ReplyKind::NotAReply},
      {Reply(), L"192.168.1.57", 1461, ReplyKind::Unmatched},
      {Reply(), L"255.255.255.255", 1460, ReplyKind::Unmatched},
      {Reply(), L"0.0.0.0", 1460, ReplyKind::Unmatched},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.sender);
    PassDecision d = Pass(c.datagram, c.sender, c.port);
    EXPECT_TRUE(d.goOn);
    EXPECT_EQ(reply.kind, c.kind);
    EXPECT_FALSE(d.added || d.removed || d.saveCommand);
  }
  EXPECT_TRUE(pinged.empty());
  EXPECT_EQ(found, std::vector<std::wstring>{L"192.168.1.5"});
}

TEST_F(PassTest, ReplyTextEndsAtItsZeroOrAtTheBuffer) {
  std::string withZero("QPRN-80\0rest", 12);
  Pass(withZero, L"192.168.1.57");
  EXPECT_EQ(reply.text, "QPRN-80");
  // A non-reply leaves the last status alone.
  Pass("XPRN", L"192.168.1.57");
  EXPECT_EQ(reply.text, "");
  // Datagrams that fill the 256-byte buffer are cut so that the terminating zero fits.
  for (size_t size : {255, 256, 300}) {
    SCOPED_TRACE(size);
    Pass(std::string(size, 'Q'), L"192.168.1.57");
    EXPECT_EQ(reply.datagram.size(), kMaxDatagramBytes);
    EXPECT_EQ(reply.text.size(), kMaxDatagramBytes);
  }
}

TEST(ApplyPass, ToleratesAListEmptiedDuringThePings) {
  std::vector<std::wstring> list;
  PassDecision removal;
  removal.removed = L"192.168.1.6";
  ApplyPass(removal, list);
  EXPECT_TRUE(list.empty());

  PassDecision addition;
  addition.added = L"192.168.1.57";
  ApplyPass(addition, list);
  ApplyPass(addition, list);
  EXPECT_EQ(list, std::vector<std::wstring>{L"192.168.1.57"});
}

}  // namespace
}  // namespace discovery
