// Check Port, PrintSelftest and the port list through the tool's own dialog, against simulated
// printers: USB printers registered in the prefix, serial and Bluetooth ports behind ptys, and a
// network printer on a loopback address. The network kind starts the LAN search, whose broadcast
// may only be sent inside a network namespace: those tests run in scripts/lan-bed.sh alone.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/control_ids.h"
#include "printing/pages.h"
#include "printing/raster_win.h"
#include "printing/usb_ticket.h"
#include "support/dialog_steps_win.h"
#include "support/escpos_decode.h"
#include "support/hex_bytes.h"
#include "support/lan_bed_win.h"
#include "support/port_registry_win.h"
#include "support/sim_printer_win.h"
#include "support/ui_driver_win.h"

namespace {

using common::PortKind;
using testsupport::Hex;
using testsupport::SimulatedPrinter;
using testsupport::SimulatedUsbPrinter;
using testsupport::Tool;
using testsupport::ToolOptions;
using testsupport::WaitForPortEntries;
using Texts = std::vector<std::wstring>;

const std::string kCut = Hex("1B 64 07 1D 56 01");

std::string Page(const std::string& text) { return text + '\0'; }

bool InNetworkNamespace() { return std::getenv("LAN_BED_NAMESPACE") != nullptr; }

// Waits (bounded) until the button's enabled state is `enabled`; the time it took in ms, or -1.
long WaitForEnabled(const Tool& tool, int id, bool enabled, DWORD timeoutMs = 5000) {
  const DWORD begin = GetTickCount();
  for (;;) {
    if (tool.Enabled(id) == enabled) return static_cast<long>(GetTickCount() - begin);
    if (GetTickCount() - begin >= timeoutMs) return -1;
    Sleep(25);
  }
}

// A USB printer (port 1) and a serial printer on COM3 that the serial map lists and that a
// Bluetooth serial service names as well.
struct PrinterOnEachSerialKind {
  testsupport::SerialMapOverride map;
  testsupport::BluetoothBranchOverride branch;
  std::unique_ptr<SimulatedUsbPrinter> usb = SimulatedUsbPrinter::Attach(L"VID_0483&PID_5720", 1);
  SimulatedPrinter serial = SimulatedPrinter::Serial(3);
  PrinterOnEachSerialKind() {
    map.Add(L"\\Device\\Serial3", L"COM3");
    branch.AddService(L"{00001101-0000-1000-8000-00805f9b34fb}_LOCALMFG&0002", L"COM3");
  }
};

TEST(DialogPorts, UsbKindFollowsTheAttachedPrinters) {
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
  ASSERT_TRUE(WaitForPortEntries(tool, {L"NO USB"}));
  auto unknown = SimulatedUsbPrinter::Attach(L"VID_1234&PID_5678", 4);
  const DWORD attached = GetTickCount();
  auto printer = SimulatedUsbPrinter::Attach(L"VID_0483&PID_5720", 1);
  ASSERT_TRUE(WaitForPortEntries(tool, {L"USB001"}, 2000));
  RecordProperty("listed_after_ms", static_cast<int>(GetTickCount() - attached));
  EXPECT_LT(GetTickCount() - attached, 3000u);  // the attach itself takes most of it
  auto second = SimulatedUsbPrinter::Attach(L"VID_04B8&PID_0202", 12);
  tool.Select(app::kPortList, L"USB001");
  ASSERT_TRUE(WaitForPortEntries(tool, {L"USB001", L"USB012"}, 2000));
  EXPECT_EQ(tool.SelectedEntry(app::kPortList), L"USB001");  // the choice stays
  printer.reset();
  second.reset();
  EXPECT_TRUE(WaitForPortEntries(tool, {L"NO USB"}, 2000));
  EXPECT_EQ(unknown->Capture().Opens(), 0);  // never listed, never opened
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogCheckPort, UsbPrintsATicketOnEveryPrinterAndPausesTheButton) {
  auto first = SimulatedUsbPrinter::Attach(L"VID_0483&PID_5720", 1);
  auto second = SimulatedUsbPrinter::Attach(L"VID_1FC9&PID_2016", 2);
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
  ASSERT_TRUE(WaitForPortEntries(tool, {L"USB001", L"USB002"}));
  tool.Click(app::kButtonCheckPort);
  auto box = tool.WaitForMessageBox();
  EXPECT_EQ(box.Text(), L"Your USB printer's Port is :\r\n\tUSB001 ;\r\n\tUSB002 ;\r\n");
  EXPECT_FALSE(tool.Enabled(app::kButtonCheckPort));
  const DWORD answered = GetTickCount();
  box.Answer(IDOK);
  long back = WaitForEnabled(tool, app::kButtonCheckPort, true);
  EXPECT_GE(back, 0);
  EXPECT_LT(GetTickCount() - answered, 2500u);  // 2 s after the click, which came first
  EXPECT_FALSE(tool.HasMessageBox());
  int n = 0;
  for (auto* printer : {first.get(), second.get()}) {
    ++n;
    SCOPED_TRACE(n);
    printer->Capture().Settle();
    const std::string received = printer->Capture().Received();
    auto parts = testsupport::DecodeCapture(received);
    ASSERT_EQ(parts.size(), 3u) << testsupport::DescribeCapture(received);
    EXPECT_EQ(parts[0].image.Width(), 576);
    // The tool drew the ticket of its own port, as this process draws it with the same fonts.
    printing::TicketCanvas expected(printing::UsbTicketText(common::kEnglish, n));
    EXPECT_TRUE(received == printing::PackRaster(expected.ReadPixels()));
    std::string base = testsupport::BinaryDirUnix() + "/tickets/dialog-usb00" + std::to_string(n);
    std::cout << testsupport::DescribeCapture(received, base);
  }
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogCheckPort, UsbWithoutPrinterShowsBothMessages) {
  Tool tool = Tool::Start(ToolOptions{L"zh_CN", L"win10"});
  ASSERT_TRUE(WaitForPortEntries(tool, {L"NO USB"}));
  tool.Click(app::kButtonCheckPort);
  auto notFound = tool.WaitForMessageBox();
  EXPECT_EQ(notFound.Text(), L"USB打印机没有接入设备");
  notFound.Answer(IDOK);
  auto check = tool.WaitForMessageBox();
  EXPECT_EQ(check.Text(), L"请检查打印机连接");
  check.Answer(IDOK);
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogCheckPort, ComSendsThePortPageAndTheCutInTwoOpens) {
  testsupport::SerialMapOverride map;
  map.Add(L"\\Device\\Serial3", L"COM3");
  auto printer = SimulatedPrinter::Serial(3);
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
  tool.Click(app::kRadioCom);
  ASSERT_TRUE(WaitForPortEntries(tool, {L"COM3"}));
  EXPECT_TRUE(tool.Visible(app::kBaudList));
  EXPECT_EQ(tool.SelectedEntry(app::kBaudList), L"19200");
  tool.Click(app::kButtonCheckPort);
  ASSERT_TRUE(printer.WaitForBytes(20)) << printer.Log();
  printer.Settle();
  EXPECT_EQ(printer.Received(), Page("COM PORT:COM3") + kCut);
  EXPECT_EQ(printer.Opens(), 2);
  EXPECT_EQ(printer.Baud(), 19200);
  EXPECT_FALSE(tool.HasMessageBox());
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogCheckPort, MissingSerialPortAsksToCheckTheConnection) {
  testsupport::SerialMapOverride map;
  map.Add(L"\\Device\\Serial6", L"COM6");  // listed, but nothing behind it
  for (auto c : {std::make_pair(L"en_US", L"Please check the connection\xFF01"),
                 std::make_pair(L"ja_JP", L"プリンターの接続を確認してください")}) {
    Tool tool = Tool::Start(ToolOptions{c.first, L"win10"});
    tool.Click(app::kRadioCom);
    ASSERT_TRUE(WaitForPortEntries(tool, {L"COM6"}));
    tool.Click(app::kButtonCheckPort);
    auto box = tool.WaitForMessageBox();
    EXPECT_EQ(box.Text(), c.second);
    box.Answer(IDOK);
    tool.Close();
    EXPECT_TRUE(tool.WaitForExit());
  }
}

TEST(DialogCheckPort, BluetoothShowsTheDeviceNameAndSendsThePage) {
  testsupport::BluetoothBranchOverride branch;
  branch.AddService(L"{00001101-0000-1000-8000-00805f9b34fb}_LOCALMFG&0002", L"COM9");
  branch.AddDevice(L"Dev_001122AABBCC", L"PT-210");
  auto printer = SimulatedPrinter::Serial(9);
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
  tool.Click(app::kRadioBle);
  ASSERT_TRUE(WaitForPortEntries(tool, {L"COM9"}));
  EXPECT_TRUE(tool.WaitForText(app::kBleName, L"PT-210\r\n001122AABBCC"));
  tool.Click(app::kButtonCheckPort);
  ASSERT_TRUE(printer.WaitForBytes(26)) << printer.Log();
  printer.Settle();
  EXPECT_EQ(printer.Received(), Page("BLUETOOTH PORT:COM9") + kCut);
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogCheckPort, LabelModelGetsTheTsplPageOnEachKind) {
  PrinterOnEachSerialKind p;
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
  testsupport::ChooseModel(tool, 7);  // KTL-300L (3inch)
  struct Case {
    int radio;
    PortKind kind;
    const wchar_t* port;
    SimulatedPrinter* printer;
  };
  const Case cases[] = {
      {app::kRadioUsb, PortKind::Usb, L"USB001", &p.usb->Capture()},
      {app::kRadioCom, PortKind::Com, L"COM3", &p.serial},
      {app::kRadioBle, PortKind::Ble, L"COM3", &p.serial},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testsupport::Narrow(c.port));
    c.printer->Clear();
    tool.Click(c.radio);
    ASSERT_TRUE(WaitForPortEntries(tool, {c.port}));
    tool.Click(app::kButtonCheckPort);
    const std::string expected =
        Page(testsupport::Ascii(printing::LabelPortText(7, c.kind, c.port)));
    ASSERT_TRUE(c.printer->WaitForBytes(expected.size())) << c.printer->Log();
    c.printer->Settle(300);
    EXPECT_EQ(c.printer->Received(), expected);
    EXPECT_FALSE(tool.HasMessageBox());
  }
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogSelfTest, SendsTheExactCommandOnEachKind) {
  PrinterOnEachSerialKind p;
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
  struct Case {
    int model;
    int radio;
    const wchar_t* port;
    SimulatedPrinter* printer;
    const char* hex;
  };
  const Case cases[] = {
      {0, app::kRadioUsb, L"USB001", &p.usb->Capture(), "1F 1B 1F 67 0A 00"},
      {0, app::kRadioCom, L"COM3", &p.serial, "1F 1B 1F 67 0A 00"},
      {6, app::kRadioCom, L"COM3", &p.serial, "53 45 4C 46 54 45 53 54 0A 00"},
      {8, app::kRadioBle, L"COM3", &p.serial, "53 45 4C 46 54 45 53 54 0A 00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.hex);
    c.printer->Clear();
    testsupport::ChooseModel(tool, c.model);
    tool.Click(c.radio);
    ASSERT_TRUE(WaitForPortEntries(tool, {c.port}));
    tool.Click(app::kButtonSelfTest);
    ASSERT_TRUE(c.printer->WaitForBytes(Hex(c.hex).size())) << c.printer->Log();
    c.printer->Settle(300);
    EXPECT_EQ(testsupport::ToHex(c.printer->Received()), c.hex);
  }
  // The baud list's choice reaches the port.
  EXPECT_EQ(p.serial.Baud(), 19200);
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogCheckPort, LanSendsThePageToTheTypedAddress) {
  if (!InNetworkNamespace()) GTEST_SKIP() << "the LAN kind broadcasts: scripts/lan-bed.sh only";
  // No simulated network printer may answer the search: the self-test below relies on the port
  // list showing "Searching IP".
  if (testsupport::LanBed::Active()) ASSERT_EQ(testsupport::LanBed::Command("reset"), "");
  auto printer = SimulatedPrinter::Network("127.0.91.1");
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
  tool.Click(app::kRadioLan);
  EXPECT_TRUE(tool.Visible(app::kIpAddress));
  testsupport::TypeAddress(tool, 127, 0, 91, 1);
  tool.Click(app::kButtonCheckPort);
  ASSERT_TRUE(printer.WaitForBytes(32)) << printer.Log();
  printer.Settle();
  EXPECT_EQ(printer.Sessions(),
            (std::vector<std::string>{Page("LAN IP ADDRESS:127.0.91.1") + kCut}));
  // PrintSelftest on LAN uses the port list's entry: "Searching IP" is no address, so the
  // connection of the check gets the command.
  printer.Clear();
  tool.Click(app::kButtonSelfTest);
  ASSERT_TRUE(printer.WaitForBytes(6)) << printer.Log();
  EXPECT_EQ(testsupport::ToHex(printer.Received()), "1F 1B 1F 67 0A 00");
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

TEST(DialogCheckPort, LanLabelPageGoesToTheChosenSearchResult) {
  if (!testsupport::LanBed::Active()) GTEST_SKIP() << "needs the printers of scripts/lan-bed.sh";
  ASSERT_EQ(testsupport::LanBed::Command("reset"), "");
  ASSERT_EQ(testsupport::LanBed::Command("find 192.168.1.57 on"), "");
  Tool tool = Tool::Start(ToolOptions{L"en_US", L"win10"});
  testsupport::ChooseModel(tool, 8);  // KTL-200L (2inch)
  tool.Click(app::kRadioLan);
  ASSERT_TRUE(WaitForPortEntries(tool, {L"192.168.1.57"}, 10000));
  tool.Select(app::kPortList, L"192.168.1.57");
  tool.Click(app::kButtonCheckPort);
  const std::string expected =
      Page(testsupport::Ascii(printing::LabelPortText(8, PortKind::Lan, L"192.168.1.57")));
  std::string received;
  for (int i = 0; i < 100 && received.size() < expected.size(); ++i, Sleep(50))
    received = testsupport::LanBed::RawPortBytes("192.168.1.57");
  EXPECT_EQ(received, expected);
  tool.Close();
  EXPECT_TRUE(tool.WaitForExit());
}

}  // namespace
