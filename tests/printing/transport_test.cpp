#include "printing/transport.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>

using printing::TransportKind;
using printing::TransportSettings;

TEST(SelectTransport, KeywordNameAndBaud) {
  struct Case {
    const wchar_t* name;
    const wchar_t* param;
    bool matched;
    TransportKind kind;
    const wchar_t* serialPort;
    const wchar_t* parallelPort;
    int baud;
  };
  // Every case starts from the initial settings: Usb, COM1, LPT1, 9600.
  const Case cases[] = {
      {L"com3", L"9600", true, TransportKind::Com, L"COM3", L"LPT1", 9600},
      {L"COM12", L"115200", true, TransportKind::Com, L"COM12", L"LPT1", 115200},
      {L"COM1:", L"19200", true, TransportKind::Com, L"COM1", L"LPT1", 19200},
      {L"COMUSB", L"", true, TransportKind::Com, L"COMUSB", L"LPT1", 0},
      {L"USBCOM", L"38400", true, TransportKind::Com, L"USBCOM", L"LPT1", 38400},
      {L"a:b:COM4:", L"1", true, TransportKind::Com, L"A:B:COM4", L"LPT1", 1},
      {L"COM5", L"12ab", true, TransportKind::Com, L"COM5", L"LPT1", 12},
      {L"COM5", L"ab12", true, TransportKind::Com, L"COM5", L"LPT1", 0},
      {L"COM5", L" \t+9600x", true, TransportKind::Com, L"COM5", L"LPT1", 9600},
      {L"COM5", L"-7", true, TransportKind::Com, L"COM5", L"LPT1", -7},
      {L"COM5", L"99999999999999", true, TransportKind::Com, L"COM5", L"LPT1", INT_MAX},
      {L"lpt2", L"9600", true, TransportKind::Lpt, L"COM1", L"LPT2", 9600},
      {L"usb", L"", true, TransportKind::Usb, L"COM1", L"LPT1", 9600},
      {L"LAN", L"10.0.0.1", true, TransportKind::Lan, L"COM1", L"LPT1", 9600},
      {L"", L"19200", false, TransportKind::Usb, L"COM1", L"LPT1", 9600},
      {L"NO COM", L"", true, TransportKind::Com, L"NO COM", L"LPT1", 0},  // the placeholder
      {L"Searching IP", L"", false, TransportKind::Usb, L"COM1", L"LPT1", 9600},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "name '" << c.name << "' param '" << c.param << "'");
    TransportSettings s;
    EXPECT_EQ(printing::SelectTransportSettings(s, c.name, c.param), c.matched);
    EXPECT_EQ(s.kind, c.kind);
    EXPECT_EQ(s.serialPortName, c.serialPort);
    EXPECT_EQ(s.parallelPortName, c.parallelPort);
    EXPECT_EQ(s.baudRate, c.baud);
  }
}

TEST(SelectTransport, UnmatchedNameKeepsTheEarlierChoice) {
  TransportSettings s;
  ASSERT_TRUE(printing::SelectTransportSettings(s, L"COM7", L"38400"));
  EXPECT_FALSE(printing::SelectTransportSettings(s, L"", L"9600"));
  EXPECT_EQ(s.kind, TransportKind::Com);
  EXPECT_EQ(s.serialPortName, L"COM7");
  EXPECT_EQ(s.baudRate, 38400);
  // Selecting USB leaves the serial settings for a later return to the serial port.
  ASSERT_TRUE(printing::SelectTransportSettings(s, L"USB", L""));
  EXPECT_EQ(s.serialPortName, L"COM7");
  EXPECT_EQ(s.baudRate, 38400);
}

TEST(SerialDeviceName, LongNamesGetTheDevicePrefix) {
  EXPECT_EQ(printing::SerialDeviceName(L"COM3"), L"COM3");
  EXPECT_EQ(printing::SerialDeviceName(L"COM10"), L"\\\\.\\COM10");
  EXPECT_EQ(printing::SerialDeviceName(L"COMUSB"), L"\\\\.\\COMUSB");
}

TEST(SerialLine, EightDataBitsNoParityOneStopBitDtrOn) {
  TransportSettings s;
  s.baudRate = 19200;
  auto line = printing::SerialLineFor(s);
  ASSERT_TRUE(line);
  EXPECT_EQ(line->baudRate, 19200u);
  EXPECT_EQ(line->byteSize, 8);
  EXPECT_EQ(line->parity, 0);
  EXPECT_EQ(line->stopBits, 0);
  EXPECT_TRUE(line->dtrEnable);
  // No line settings for a baud text that read as 0 (or a negative number).
  s.baudRate = 0;
  EXPECT_FALSE(printing::SerialLineFor(s));
  s.baudRate = -7;
  EXPECT_FALSE(printing::SerialLineFor(s));
}

TEST(PortTimeouts, SerialAndParallelDifferOnlyInTheWriteConstant) {
  constexpr auto s = printing::kSerialTimeouts;
  constexpr auto p = printing::kParallelTimeouts;
  EXPECT_EQ(
      (std::array<unsigned long, 5>{s.readInterval, s.readTotalMultiplier, s.readTotalConstant,
                                    s.writeTotalMultiplier, s.writeTotalConstant}),
      (std::array<unsigned long, 5>{0, 20, 20, 1, 2}));
  EXPECT_EQ(p.writeTotalConstant, 2000u);
  EXPECT_EQ(p.readTotalMultiplier, 20u);
}

TEST(IsKnownUsbVendor, SeventeenCharacterWindowFromPositionEight) {
  struct Case {
    const char* path;
    bool known;
  };
  const Case cases[] = {
      {"\\\\?\\usb#vid_0483&pid_5720#0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", true},
      {"\\\\?\\USB#VID_1FC9&PID_2016#0001#{28d78fad-5a12-11d1-ae5b-0000f803a8c2}", true},
      {"\\\\?\\usb#vid_2d37&pid_0001#x", true},  // not among the listing's eight ids
      {"\\\\?\\usb#vid_04b8&pid_0202", true},    // exactly 25 characters
      {"\\\\?\\usb#vid_04b8&pid_020", false},    // 24 characters
      {"\\\\?\\usb#vid_1234&pid_5678#0001#{28d78fad}", false},
      // The id may sit anywhere in the window, here as the product id.
      {"\\\\?\\usb#vid_9999&vid_0416#0001", true},
      // Beyond the window it does not count.
      {"\\\\?\\usb#vid_9999&pid_0001#vid_0416", false},
      {"", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(printing::IsKnownUsbVendor(c.path), c.known);
  }
}

TEST(ReenableTimerPeriod, ByTransport) {
  EXPECT_EQ(printing::ReenableTimerPeriod(TransportKind::Lpt), 5000u);
  EXPECT_EQ(printing::ReenableTimerPeriod(TransportKind::Com), 5000u);
  EXPECT_EQ(printing::ReenableTimerPeriod(TransportKind::Usb), 10000u);
  EXPECT_EQ(printing::ReenableTimerPeriod(TransportKind::Lan), 0u);
}
