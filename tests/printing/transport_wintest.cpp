// The direct-printing transports against simulated printers: a pty behind a COM or LPT port, a
// USB printing interface whose device is a pty, and a listener on 127.0.91.1:9100 (a loopback
// address of these tests alone, so that other beds listening on 127.0.0.1 do not interfere).
#include <gtest/gtest.h>

#include "discovery/raw_port_win.h"
#include "printing/pages.h"
#include "printing/transport_win.h"
#include "support/hex_bytes.h"
#include "support/sim_printer_win.h"
#include "support/winsock_win.h"

namespace printing {
namespace {

using testsupport::Hex;
using testsupport::SimulatedPrinter;
using testsupport::SimulatedUsbPrinter;

const std::string kCut = Hex("1B 64 07 1D 56 01");
const std::string kReceiptSelfTest = Hex("1F 1B 1F 67 0A 00");

bool WriteBytes(const std::string& bytes) {
  return WriteRaw(bytes.data(), static_cast<int>(bytes.size()));
}

class TransportTest : public testsupport::WinsockTest {
 protected:
  void SetUp() override {
    // Each test starts from the state of a fresh process.
    PrinterTransport& t = Transport();
    for (HANDLE* h : {&t.serialHandle, &t.usbHandle, &t.parallelHandle}) {
      if (*h != INVALID_HANDLE_VALUE) CloseHandle(*h);
      *h = INVALID_HANDLE_VALUE;
    }
    if (t.socket != INVALID_SOCKET) closesocket(t.socket);
    t.socket = INVALID_SOCKET;
    t.settings = TransportSettings();
  }
  void TearDown() override { SetUp(); }
};

TEST_F(TransportTest, SerialPageAndCutGoOutInTwoOpensAtTheChosenBaud) {
  auto printer = SimulatedPrinter::Serial(3);
  SelectTransport(L"com3", L"19200");
  EXPECT_TRUE(SendText(nullptr, L"COM PORT:COM3"));
  // Each write purges the port first; a pty would drop the page if it were still unread.
  ASSERT_TRUE(printer.WaitForBytes(14)) << printer.Log();
  EXPECT_TRUE(WriteBytes(kCut));
  ASSERT_TRUE(printer.WaitForBytes(20)) << printer.Log();
  printer.Settle();
  EXPECT_EQ(printer.Received(), std::string("COM PORT:COM3\0", 14) + kCut);
  EXPECT_EQ(printer.Opens(), 2);
  EXPECT_EQ(printer.Baud(), 19200);
  EXPECT_EQ(Transport().serialHandle, INVALID_HANDLE_VALUE);  // closed after each write
}

TEST_F(TransportTest, LongSerialNamesOpenThroughTheDeviceNamespace) {
  auto printer = SimulatedPrinter::Serial(12);
  SelectTransport(L"COM12:", L"115200");
  EXPECT_TRUE(SendText(nullptr, L"AB"));
  ASSERT_TRUE(printer.WaitForBytes(3)) << printer.Log();
  EXPECT_EQ(testsupport::ToHex(printer.Received()), "41 42 00");
  EXPECT_EQ(printer.Baud(), 115200);
}

TEST_F(TransportTest, BaudZeroKeepsThePortsLineSettings) {
  auto printer = SimulatedPrinter::Serial(4);
  SelectTransport(L"COM4", L"38400");
  ASSERT_TRUE(WriteBytes("A"));
  ASSERT_TRUE(printer.WaitForBytes(1)) << printer.Log();
  SelectTransport(L"COM4", L"fast");
  EXPECT_EQ(Transport().settings.baudRate, 0);
  EXPECT_TRUE(WriteBytes("B"));
  ASSERT_TRUE(printer.WaitForBytes(2)) << printer.Log();
  EXPECT_EQ(printer.Received(), "AB");
  EXPECT_EQ(printer.Baud(), 38400);
}

TEST_F(TransportTest, MissingSerialPortWritesNothing) {
  SelectTransport(L"COM7", L"9600");
  EXPECT_FALSE(SendText(nullptr, L"COM PORT:COM7"));
  EXPECT_FALSE(WriteBytes(kCut));
  EXPECT_EQ(Transport().serialHandle, INVALID_HANDLE_VALUE);
}

TEST_F(TransportTest, UnmatchedNameWritesToThePreviousTransport) {
  auto printer = SimulatedPrinter::Serial(3);
  SelectTransport(L"COM3", L"9600");
  SelectTransport(L"Searching IP", L"10.0.0.1");
  EXPECT_TRUE(WriteBytes(kCut));
  ASSERT_TRUE(printer.WaitForBytes(kCut.size())) << printer.Log();
  EXPECT_EQ(printer.Received(), kCut);
}

TEST_F(TransportTest, ParallelPortOpensAnewForEveryWrite) {
  // Opened without sharing: the second write opens only because the first handle was closed.
  auto printer = SimulatedPrinter::DosDevice("lpt1");
  SelectTransport(L"lpt1", L"");
  EXPECT_TRUE(WriteBytes("one"));
  ASSERT_TRUE(printer.WaitForBytes(3)) << printer.Log();
  EXPECT_TRUE(WriteBytes("two"));
  ASSERT_TRUE(printer.WaitForBytes(6)) << printer.Log();
  EXPECT_EQ(printer.Received(), "onetwo");
}

TEST_F(TransportTest, UsbDeviceStaysOpenAcrossWrites) {
  auto usb = SimulatedUsbPrinter::Attach(L"VID_0483&PID_5720", 1);
  SelectTransport(L"USB", L"");
  EXPECT_TRUE(WriteBytes(kReceiptSelfTest));
  ASSERT_TRUE(usb->Capture().WaitForBytes(6)) << usb->Capture().Log();
  EXPECT_TRUE(WriteBytes(kCut));
  ASSERT_TRUE(usb->Capture().WaitForBytes(12)) << usb->Capture().Log();
  EXPECT_EQ(usb->Capture().Received(), kReceiptSelfTest + kCut);
  EXPECT_EQ(usb->Capture().Opens(), 1);
  EXPECT_NE(Transport().usbHandle, INVALID_HANDLE_VALUE);
}

TEST_F(TransportTest, UsbPrinterPluggedInAgainIsFoundByTheRetry) {
  auto first = SimulatedUsbPrinter::Attach(L"VID_0416&PID_5011", 1);
  SelectTransport(L"USB", L"");
  ASSERT_TRUE(WriteBytes("1"));
  ASSERT_TRUE(first->Capture().WaitForBytes(1)) << first->Capture().Log();
  first.reset();  // unplugged: the held handle now fails
  auto again = SimulatedUsbPrinter::Attach(L"VID_0416&PID_5011", 1);
  EXPECT_TRUE(WriteBytes("2"));
  ASSERT_TRUE(again->Capture().WaitForBytes(1)) << again->Capture().Log();
  EXPECT_EQ(again->Capture().Received(), "2");
}

TEST_F(TransportTest, UsbPrinterOfAnUnknownVendorIsNeverOpened) {
  auto unknown = SimulatedUsbPrinter::Attach(L"VID_1234&PID_5678", 3);
  SelectTransport(L"USB", L"");
  EXPECT_FALSE(WriteBytes(kReceiptSelfTest));
  unknown->Capture().Settle(200);
  EXPECT_EQ(unknown->Capture().Opens(), 0);
  // The transport knows vid_2d37, which the port listing does not.
  auto known = SimulatedUsbPrinter::Attach(L"VID_2D37&PID_0001", 4);
  EXPECT_TRUE(WriteBytes(kReceiptSelfTest));
  ASSERT_TRUE(known->Capture().WaitForBytes(6)) << known->Capture().Log();
  EXPECT_EQ(known->Capture().Received(), kReceiptSelfTest);
}

TEST_F(TransportTest, NetworkPageAndCutGoOverOneConnection) {
  auto printer = SimulatedPrinter::Network("127.0.91.1");
  SelectTransport(L"LAN", L"127.0.91.1");
  EXPECT_TRUE(SendText(nullptr, L"LAN IP ADDRESS:127.0.91.1"));
  EXPECT_TRUE(WriteBytes(kCut));
  ASSERT_TRUE(printer.WaitForBytes(32)) << printer.Log();
  EXPECT_EQ(printer.Sessions(),
            (std::vector<std::string>{(std::string("LAN IP ADDRESS:127.0.91.1") + '\0') + kCut}));
  // A text that is no address keeps the connection.
  SelectTransport(L"LAN", L"Searching IP");
  EXPECT_TRUE(WriteBytes("x"));
  ASSERT_TRUE(printer.WaitForBytes(33)) << printer.Log();
  EXPECT_EQ(printer.Opens(), 1);
}

TEST_F(TransportTest, FailedSendDropsTheSocketUntilTheNextSelection) {
  {
    auto printer = SimulatedPrinter::Network("127.0.91.1");
    SelectTransport(L"LAN", L"127.0.91.1");
    ASSERT_NE(Transport().socket, INVALID_SOCKET);
  }  // the printer goes away
  bool failed = false;
  for (int i = 0; i < 20 && !failed; ++i) failed = !WriteBytes(kCut);
  ASSERT_TRUE(failed);
  EXPECT_EQ(Transport().socket, INVALID_SOCKET);
  auto printer = SimulatedPrinter::Network("127.0.91.1");
  EXPECT_FALSE(WriteBytes(kCut));
  SelectTransport(L"LAN", L"127.0.91.1");
  EXPECT_TRUE(WriteBytes(kCut));
  ASSERT_TRUE(printer.WaitForBytes(kCut.size())) << printer.Log();
  EXPECT_EQ(printer.Received(), kCut);
}

TEST_F(TransportTest, ConnectToAClosedPortGivesUpAfterThreeAttempts) {
  DWORD start = GetTickCount();
  EXPECT_FALSE(discovery::ConnectRawPort(L"127.0.91.2"));  // nothing listens there
  DWORD elapsed = GetTickCount() - start;
  EXPECT_EQ(Transport().socket, INVALID_SOCKET);
  // Three waits of 1 s and two pauses of 500 ms.
  EXPECT_GE(elapsed, 3500u);
  EXPECT_LT(elapsed, 6000u);
  RecordProperty("connect_closed_port_ms", static_cast<int>(elapsed));
}

TEST_F(TransportTest, SendTextStartsTheReenableTimerExceptOverTheNetwork) {
  HWND window =
      CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  ASSERT_NE(window, nullptr);
  auto printer = SimulatedPrinter::Serial(3);
  SelectTransport(L"COM3", L"9600");
  EXPECT_FALSE(SendText(window, L""));
  EXPECT_FALSE(KillTimer(window, 1));  // an empty text starts none
  EXPECT_TRUE(SendText(window, L"COM PORT:COM3"));
  EXPECT_TRUE(KillTimer(window, 1));
  auto network = SimulatedPrinter::Network("127.0.91.1");
  SelectTransport(L"LAN", L"127.0.91.1");
  EXPECT_TRUE(SendText(window, L"LAN IP ADDRESS:127.0.91.1"));
  EXPECT_FALSE(KillTimer(window, 1));
  DestroyWindow(window);
}

}  // namespace
}  // namespace printing
