// Check Port and PrintSelftest as the dialog calls them, against simulated printers. A small
// window with a button 1027 stands in for the dialog: it owns the timers and the message boxes.
#include <gtest/gtest.h>

#include "app/control_ids.h"
#include "discovery/usb_ports_win.h"
#include "printing/port_check_win.h"
#include "printing/transport_win.h"
#include "support/escpos_decode.h"
#include "support/hex_bytes.h"
#include "support/message_box_catcher_win.h"
#include "support/sim_printer_win.h"
#include "support/winsock_win.h"

namespace printing {
namespace {

using common::PortKind;
using testsupport::Hex;
using testsupport::MessageBoxCatcher;
using testsupport::SimulatedPrinter;
using testsupport::SimulatedUsbPrinter;
using Texts = std::vector<std::wstring>;

const std::string kCut = Hex("1B 64 07 1D 56 01");

class PortCommandTest : public testsupport::WinsockTest {
 protected:
  void SetUp() override {
    dialog_ = CreateWindowExW(0, L"STATIC", L"dialog", WS_POPUP, 0, 0, 100, 100, nullptr, nullptr,
                              nullptr, nullptr);
    CreateWindowExW(0, L"BUTTON", L"Check Port", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, dialog_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(app::kButtonCheckPort)), nullptr,
                    nullptr);
    Transport().settings = TransportSettings();
  }
  void TearDown() override { DestroyWindow(dialog_); }

  PortCommand Command(int model, PortKind kind, const std::wstring& port,
                      common::LangId language = common::kEnglish) const {
    return PortCommand{dialog_, PortChoice{model, kind, port, L"19200", L"127.0.91.1"}, language,
                       L"Windows 7"};
  }

  HWND dialog_ = nullptr;
};

// A printer on each transport: USB (port 1), COM3 and the network.
struct PrinterOnEachTransport {
  std::unique_ptr<SimulatedUsbPrinter> usb = SimulatedUsbPrinter::Attach(L"VID_0483&PID_5720", 1);
  SimulatedPrinter serial = SimulatedPrinter::Serial(3);
  SimulatedPrinter network = SimulatedPrinter::Network("127.0.91.1");
};

TEST_F(PortCommandTest, ReceiptPageOnComThenFeedAndCut) {
  auto printer = SimulatedPrinter::Serial(5);
  std::wstring selectedPort;
  MessageBoxCatcher boxes;
  EXPECT_TRUE(CheckPort(Command(0, PortKind::Com, L"COM5"), selectedPort));
  ASSERT_TRUE(printer.WaitForBytes(20)) << printer.Log();
  printer.Settle();
  EXPECT_EQ(printer.Received(), std::string("COM PORT:COM5\0", 14) + kCut);
  EXPECT_EQ(printer.Opens(), 2);
  EXPECT_EQ(printer.Baud(), 19200);
  EXPECT_EQ(selectedPort, L"COM5");
  EXPECT_TRUE(boxes.Texts().empty());
  EXPECT_TRUE(KillTimer(dialog_, app::kTimerReenableControls));
}

TEST_F(PortCommandTest, ReceiptPageOnBluetoothAndLan) {
  {
    auto printer = SimulatedPrinter::Serial(9);
    std::wstring selectedPort;
    EXPECT_TRUE(CheckPort(Command(1, PortKind::Ble, L"COM9"), selectedPort));
    ASSERT_TRUE(printer.WaitForBytes(26)) << printer.Log();
    EXPECT_EQ(printer.Received(), std::string("BLUETOOTH PORT:COM9\0", 20) + kCut);
    EXPECT_TRUE(KillTimer(dialog_, app::kTimerReenableControls));
  }
  auto network = SimulatedPrinter::Network("127.0.91.1");
  std::wstring selectedPort;
  // The typed address counts, not the port list's entry.
  EXPECT_TRUE(CheckPort(Command(2, PortKind::Lan, L"192.168.1.7"), selectedPort));
  ASSERT_TRUE(network.WaitForBytes(32)) << network.Log();
  EXPECT_EQ(network.Sessions(),
            (std::vector<std::string>{(std::string("LAN IP ADDRESS:127.0.91.1") + '\0') + kCut}));
  EXPECT_EQ(selectedPort, L"127.0.91.1");
  EXPECT_FALSE(KillTimer(dialog_, app::kTimerReenableControls));  // none over the network
}

TEST_F(PortCommandTest, LabelPagesByKind) {
  PrinterOnEachTransport p;
  struct Case {
    int model;
    PortKind kind;
    const wchar_t* port;
    SimulatedPrinter* printer;
  };
  const Case cases[] = {
      {7, PortKind::Usb, L"USB001", &p.usb->Capture()},
      {8, PortKind::Com, L"COM3", &p.serial},
      {6, PortKind::Ble, L"COM3", &p.serial},
      {7, PortKind::Lan, L"127.0.91.1", &p.network},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    c.printer->Clear();
    std::wstring selectedPort;
    EXPECT_TRUE(CheckPort(Command(c.model, c.kind, c.port), selectedPort));
    const std::string expected =
        testsupport::Ascii(LabelPortText(c.model, c.kind, c.port)) + std::string(1, '\0');
    ASSERT_TRUE(c.printer->WaitForBytes(expected.size())) << c.printer->Log();
    c.printer->Settle(200);
    EXPECT_EQ(c.printer->Received(), expected);
  }
}

TEST_F(PortCommandTest, MissingSerialPortShowsTheCheckMessageInTheLanguage) {
  struct Case {
    common::LangId language;
    const wchar_t* message;
  };
  const Case cases[] = {
      {common::kEnglish, L"Please check the connection\xFF01"},
      {common::kChinese, L"请检查打印机连接"},
      {common::kJapanese, L"プリンターの接続を確認してください"},
  };
  for (const auto& c : cases) {
    MessageBoxCatcher boxes;
    std::wstring selectedPort;
    EXPECT_FALSE(CheckPort(Command(0, PortKind::Com, L"COM8", c.language), selectedPort));
    EXPECT_EQ(boxes.Texts(), Texts{c.message});
  }
  MessageBoxCatcher boxes;
  std::wstring selectedPort;
  EXPECT_FALSE(CheckPort(Command(0, PortKind::Other, L"COM8"), selectedPort));
  EXPECT_EQ(boxes.Texts(), Texts{L"Please check the connection\xFF01"});
}

TEST_F(PortCommandTest, ReceiptOnUsbPrintsATicketPerPrinterAndPausesTheButton) {
  auto first = SimulatedUsbPrinter::Attach(L"VID_0483&PID_5720", 1);
  auto second = SimulatedUsbPrinter::Attach(L"VID_1FC9&PID_2016", 12);
  MessageBoxCatcher boxes;
  std::wstring selectedPort;
  PortCommand command = Command(0, PortKind::Usb, L"USB001");
  command.osName = L"Windows 10";
  EXPECT_TRUE(CheckPort(command, selectedPort));
  EXPECT_TRUE(discovery::usbSkipLinkCheck);
  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog_, app::kButtonCheckPort)));
  EXPECT_TRUE(KillTimer(dialog_, app::kTimerReenableCheckPort));
  ASSERT_EQ(boxes.Texts().size(), 1u);
  const std::wstring message = boxes.Texts()[0];
  EXPECT_EQ(message.find(L"Your USB printer's Port is :\r\n"), 0u);
  EXPECT_NE(message.find(L"\tUSB001 ;\r\n"), std::wstring::npos);
  EXPECT_NE(message.find(L"\tUSB012 ;\r\n"), std::wstring::npos);
  for (auto* printer : {first.get(), second.get()}) {
    printer->Capture().Settle();
    auto parts = testsupport::DecodeCapture(printer->Capture().Received());
    ASSERT_EQ(parts.size(), 3u);
    EXPECT_EQ(parts[0].kind, testsupport::DecodedPart::Kind::Raster);
    EXPECT_EQ(parts[2].kind, testsupport::DecodedPart::Kind::Cut);
  }
}

TEST_F(PortCommandTest, ReceiptOnUsbWithoutPrintersShowsTwoMessages) {
  MessageBoxCatcher boxes;
  std::wstring selectedPort;
  EXPECT_FALSE(CheckPort(Command(0, PortKind::Usb, L"NO USB", common::kJapanese), selectedPort));
  EXPECT_EQ(boxes.Texts(), (Texts{L"USBプリンターがデバイスに接続されていません!",
                                  L"プリンターの接続を確認してください"}));
}

TEST_F(PortCommandTest, SelfTestSendsTheExactCommandOnEachKind) {
  PrinterOnEachTransport p;
  struct Case {
    int model;
    PortKind kind;
    const wchar_t* port;
    SimulatedPrinter* printer;
    const char* hex;
  };
  const Case cases[] = {
      {0, PortKind::Usb, L"USB001", &p.usb->Capture(), "1F 1B 1F 67 0A 00"},
      {6, PortKind::Com, L"COM3", &p.serial, "53 45 4C 46 54 45 53 54 0A 00"},
      {2, PortKind::Ble, L"COM3", &p.serial, "1F 1B 1F 67 0A 00"},
      {8, PortKind::Lan, L"127.0.91.1", &p.network, "53 45 4C 46 54 45 53 54 0A 00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hex);
    c.printer->Clear();
    PrintSelfTest(PortChoice{c.model, c.kind, c.port, L"9600", L""});
    const std::string expected = Hex(c.hex);
    ASSERT_TRUE(c.printer->WaitForBytes(expected.size())) << c.printer->Log();
    c.printer->Settle(200);
    EXPECT_EQ(testsupport::ToHex(c.printer->Received()), c.hex);
  }
  EXPECT_EQ(p.serial.Baud(), 9600);
  // The kind Other sends nothing anywhere.
  for (auto* printer : {&p.usb->Capture(), &p.serial, &p.network}) printer->Clear();
  PrintSelfTest(PortChoice{0, PortKind::Other, L"COM3", L"9600", L""});
  p.serial.Settle(200);
  for (auto* printer : {&p.usb->Capture(), &p.serial, &p.network})
    EXPECT_EQ(printer->Received(), "");
}

}  // namespace
}  // namespace printing
