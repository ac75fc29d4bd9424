#include "printing/pages.h"

#include <gtest/gtest.h>

#include "support/hex_bytes.h"

using common::PortKind;
using testsupport::Ascii;
using testsupport::Hex;
using testsupport::ToHex;

namespace {
// The bytes a text page puts on the wire (the port texts here are ASCII).
std::string Wire(const std::wstring& text) { return printing::PageBytes(Ascii(text)); }
}  // namespace

TEST(ReceiptPortPage, HeadingPortAndZeroByte) {
  EXPECT_EQ(ToHex(Wire(printing::ReceiptPortText(PortKind::Com, L"COM5"))),
            ToHex(Hex("43 4F 4D 20 50 4F 52 54 3A 43 4F 4D 35 00")));  // "COM PORT:COM5"
  EXPECT_EQ(Wire(printing::ReceiptPortText(PortKind::Lan, L"192.168.1.100")),
            std::string("LAN IP ADDRESS:192.168.1.100\0", 29));
  EXPECT_EQ(Wire(printing::ReceiptPortText(PortKind::Ble, L"COM9")),
            std::string("BLUETOOTH PORT:COM9\0", 20));
  EXPECT_EQ(printing::ReceiptPortText(PortKind::Usb, L"USB001"), L"");
  EXPECT_EQ(printing::ReceiptPortText(PortKind::Other, L"COM1"), L"");
}

TEST(ReceiptPortPage, FeedAndPartialCut) {
  std::string cut(reinterpret_cast<const char*>(printing::kFeedAndPartialCut),
                  sizeof printing::kFeedAndPartialCut);
  EXPECT_EQ(ToHex(cut), "1B 64 07 1D 56 01");
}

TEST(LabelPortPage, SizeByModelHeadingByKind) {
  struct Case {
    int model;
    PortKind kind;
    const wchar_t* port;
    const char* expected;
  };
  const Case cases[] = {
      {7, PortKind::Usb, L"USB001",
       "SIZE 75 MM,30 MM\nGAP 3 MM,0 MM\nCLS\nTEXT 16,36,\"3\",0,2,2,\"USB PORT:\"\n"
       "TEXT 16,88,\"3\",0,2,2,\"USB001\"\nPRINT 1,1\n"},
      {6, PortKind::Com, L"COM3",
       "SIZE 100 MM,150 MM\nGAP 3 MM,0 MM\nCLS\nTEXT 16,36,\"3\",0,2,2,\"COM PORT:\"\n"
       "TEXT 16,88,\"3\",0,2,2,\"COM3\"\nPRINT 1,1\n"},
      {8, PortKind::Lan, L"10.1.2.3",
       "SIZE 50 MM,30 MM\nGAP 3 MM,0 MM\nCLS\nTEXT 16,36,\"3\",0,2,2,\"LAN IP ADDRESS:\"\n"
       "TEXT 16,88,\"3\",0,2,2,\"10.1.2.3\"\nPRINT 1,1\n"},
      {9, PortKind::Ble, L"COM9",
       "SIZE 100 MM,150 MM\nGAP 3 MM,0 MM\nCLS\nTEXT 16,36,\"3\",0,2,2,\"BLUETOOTH PORT:\"\n"
       "TEXT 16,88,\"3\",0,2,2,\"COM9\"\nPRINT 1,1\n"},
      {7, PortKind::Lan, L"Searching IP",
       "SIZE 75 MM,30 MM\nGAP 3 MM,0 MM\nCLS\nTEXT 16,36,\"3\",0,2,2,\"LAN IP ADDRESS:\"\n"
       "TEXT 16,88,\"3\",0,2,2,\"Searching IP\"\nPRINT 1,1\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    std::string wire = Wire(printing::LabelPortText(c.model, c.kind, c.port));
    EXPECT_EQ(wire, std::string(c.expected) + '\0');
    EXPECT_EQ(wire.back(), '\0');
  }
  EXPECT_EQ(printing::LabelPortText(7, PortKind::Other, L"COM1"), L"");
}

TEST(PageBytes, TextAndItsZero) {
  EXPECT_EQ(ToHex(printing::PageBytes("AB")), "41 42 00");
  EXPECT_EQ(ToHex(printing::PageBytes("")), "00");
}

TEST(SelfTestCommand, ReceiptAndLabel) {
  EXPECT_EQ(ToHex(printing::SelfTestCommand(0)), "1F 1B 1F 67 0A 00");
  EXPECT_EQ(ToHex(printing::SelfTestCommand(5)), "1F 1B 1F 67 0A 00");
  EXPECT_EQ(ToHex(printing::SelfTestCommand(-1)), "1F 1B 1F 67 0A 00");  // no model chosen
  EXPECT_EQ(ToHex(printing::SelfTestCommand(6)), "53 45 4C 46 54 45 53 54 0A 00");
  EXPECT_EQ(ToHex(printing::SelfTestCommand(8)), "53 45 4C 46 54 45 53 54 0A 00");
}

TEST(TransportRequestFor, ByConnectionKind) {
  auto usb = printing::TransportRequestFor(PortKind::Usb, L"USB001", L"19200");
  ASSERT_TRUE(usb);
  EXPECT_EQ(usb->portName, L"USB");
  EXPECT_EQ(usb->parameter, L"");
  for (auto kind : {PortKind::Com, PortKind::Ble}) {
    auto serial = printing::TransportRequestFor(kind, L"COM4", L"19200");
    ASSERT_TRUE(serial);
    EXPECT_EQ(serial->portName, L"COM4");
    EXPECT_EQ(serial->parameter, L"19200");
  }
  auto lan = printing::TransportRequestFor(PortKind::Lan, L"10.0.0.7", L"19200");
  ASSERT_TRUE(lan);
  EXPECT_EQ(lan->portName, L"LAN");
  EXPECT_EQ(lan->parameter, L"10.0.0.7");
  EXPECT_FALSE(printing::TransportRequestFor(PortKind::Other, L"COM4", L"19200"));
}

TEST(CheckConnectionMessage, ByLanguage) {
  EXPECT_EQ(printing::CheckConnectionMessage(common::kChinese), L"请检查打印机连接");
  EXPECT_EQ(printing::CheckConnectionMessage(common::kJapanese),
            L"プリンターの接続を確認してください");
  EXPECT_EQ(printing::CheckConnectionMessage(common::kEnglish),
            L"Please check the connection\xFF01");
  EXPECT_EQ(printing::CheckConnectionMessage(0x0404), L"Please check the connection\xFF01");
}
