// The USB, serial and Bluetooth listings against the prefix's registry and simulated USB
// printers, and a benchmark of one port-monitor listing of each kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "common/format.h"
#include "discovery/serial_ports_win.h"
#include "discovery/usb_ports_win.h"
#include "support/port_registry_win.h"
#include "support/sim_printer_win.h"

namespace discovery {
namespace {

using testsupport::SimulatedUsbPrinter;
using Texts = std::vector<std::wstring>;

Texts Sorted(Texts texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

using SerialMap = testsupport::SerialMapOverride;
using BluetoothBranch = testsupport::BluetoothBranchOverride;

TEST(UsbPortListing, NoPrinterGivesAnEmptyList) {
  Texts list = {L"USB009"};
  EXPECT_FALSE(ListUsbPrinterPorts(list));
  EXPECT_TRUE(list.empty());
}

TEST(UsbPortListing, KnownVendorsWithTheirPortNumbers) {
  usbSkipLinkCheck = false;
  auto a = SimulatedUsbPrinter::Attach(L"VID_0483&PID_5720", 1);
  auto b = SimulatedUsbPrinter::Attach(L"VID_1FC9&PID_2016", 12);
  auto c = SimulatedUsbPrinter::Attach(L"VID_04B8&PID_0202", 1000);
  auto unknown = SimulatedUsbPrinter::Attach(L"VID_1234&PID_5678", 5);
  auto transportOnly = SimulatedUsbPrinter::Attach(L"VID_2D37&PID_0001", 6);
  Texts list;
  EXPECT_TRUE(ListUsbPrinterPorts(list));
  EXPECT_EQ(Sorted(list), (Texts{L"USB001", L"USB012", L"USB1000"}));
  usbSkipLinkCheck = true;
  EXPECT_TRUE(ListUsbPrinterPorts(list));
  EXPECT_EQ(list.size(), 3u);
  // Listing opens no printer.
  for (auto* p : {a.get(), b.get(), c.get(), unknown.get(), transportOnly.get()})
    EXPECT_EQ(p->Capture().Opens(), 0);
}

TEST(UsbPortListing, UnlinkedPrinterCountsOnlyWhenTheLinkIsNotChecked) {
  auto printer = SimulatedUsbPrinter::Attach(L"VID_0471&PID_0055", 3);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE,
                          DeviceClassKeyPath(printer->DevicePath(), L"Control").c_str(), 0,
                          KEY_WRITE, &key),
            ERROR_SUCCESS);
  DWORD zero = 0;
  RegSetValueExW(key, L"Linked", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
  RegCloseKey(key);
  Texts list;
  usbSkipLinkCheck = true;
  bool present = ListUsbPrinterPorts(list);
  if (!present) GTEST_SKIP() << "this Wine lists no interface that is not linked";
  EXPECT_EQ(list, Texts{L"USB003"});
  usbSkipLinkCheck = false;
  EXPECT_FALSE(ListUsbPrinterPorts(list));
  EXPECT_TRUE(list.empty());
}

TEST(SerialPortListing, DeviceNamesHoldingSerialAndTextDataOnly) {
  SerialMap map;
  map.Add(L"\\Device\\Serial0", L"COM1");
  map.Add(L"\\Device\\SERIAL2", L"COM7");
  map.Add(L"\\Device\\VCP0", L"COM4");
  map.Add(L"\\Device\\Serial5", L"COM5", REG_BINARY);
  Texts list;
  EXPECT_TRUE(ListSerialPorts(list));
  EXPECT_EQ(Sorted(list), (Texts{L"COM1", L"COM7"}));
}

TEST(SerialPortListing, EveryValueOfALongMapIsExamined) {
  SerialMap map;
  for (int i = 0; i < 300; ++i)
    map.Add(common::FormatText(L"\\Device\\Serial%d", {i}), common::FormatText(L"COM%d", {i + 1}));
  Texts list;
  EXPECT_TRUE(ListSerialPorts(list));
  EXPECT_EQ(list.size(), 300u);
}

TEST(SerialPortListing, NoMapLeavesTheListAlone) {
  SerialMap map;
  map.RemoveMap();
  Texts list;
  EXPECT_TRUE(ListSerialPorts(list));
  EXPECT_TRUE(list.empty());
}

TEST(BluetoothPortListing, ServicePortsAndDeviceNames) {
  BluetoothBranch branch;
  const std::wstring spp = L"{00001101-0000-1000-8000-00805f9b34fb}";
  branch.AddService(spp + L"_LOCALMFG&0002", L"COM8");
  branch.AddService(spp + L"_LOCALMFG&0000", L"COM9");
  branch.AddService(L"{0000111f-0000-1000-8000-00805f9b34fb}_LOCALMFG&000f", L"XYZ");
  branch.AddDevice(L"Dev_001122AABBCC", L"PT-210");
  branch.AddDevice(L"Dev_334455DDEEFF", std::wstring(60, L'N'));  // more than 100 bytes
  branch.AddDevice(L"Dev_667788001122", L"Printer B");
  branch.AddDevice(L"Other_998877665544", L"Not a device key");
  Texts ports, names;
  ListBluetoothSerialPorts(ports, names);
  EXPECT_EQ(ports, Texts{L"COM8"});
  EXPECT_EQ(Sorted(names), (Texts{L"PT-210\r\n001122AABBCC", L"Printer B\r\n667788001122"}));
}

TEST(BluetoothPortListing, NoBranchGivesNothing) {
  BluetoothBranch branch;
  branch.RemoveBranch();
  Texts ports, names;
  ListBluetoothSerialPorts(ports, names);
  EXPECT_TRUE(ports.empty());
  EXPECT_TRUE(names.empty());
}

// Not a timed test: reports the time of one listing of each kind against the 500 ms tick.
TEST(PortListingBenchmark, OneTickOfEachKind) {
  std::vector<std::unique_ptr<SimulatedUsbPrinter>> printers;
  for (int i = 0; i < 8; ++i)
    printers.push_back(SimulatedUsbPrinter::Attach(L"VID_0483&PID_5720", i + 1,
                                                   common::FormatText(L"%04d", {i + 1})));
  SerialMap map;
  for (int i = 0; i < 300; ++i)
    map.Add(common::FormatText(L"\\Device\\Serial%d", {i}), common::FormatText(L"COM%d", {i + 1}));
  BluetoothBranch branch;
  for (int i = 0; i < 20; ++i) {
    branch.AddService(
        common::FormatText(L"{00001101-0000-1000-8000-00805f9b34fb}_LOCALMFG&%04x", {i + 1}),
        common::FormatText(L"COM%d", {i + 40}));
    branch.AddDevice(common::FormatText(L"Dev_0011223344%02X", {i}),
                     common::FormatText(L"Printer %d", {i}));
  }
  auto timeOf = [](const std::function<void()>& listing, size_t& count,
                   const std::function<size_t()>& size) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    const int runs = 10;
    QueryPerformanceCounter(&start);
    for (int i = 0; i < runs; ++i) listing();
    QueryPerformanceCounter(&end);
    count = size();
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart) / runs;
  };
  Texts usb, serial, blePorts, bleNames;
  size_t usbCount = 0, serialCount = 0, bleCount = 0;
  usbSkipLinkCheck = true;
  double usbMs = timeOf([&] { ListUsbPrinterPorts(usb); }, usbCount, [&] { return usb.size(); });
  double serialMs = timeOf(
      [&] {
        serial.clear();
        ListSerialPorts(serial);
      },
      serialCount, [&] { return serial.size(); });
  double bleMs = timeOf(
      [&] {
        blePorts.clear();
        bleNames.clear();
        ListBluetoothSerialPorts(blePorts, bleNames);
      },
      bleCount, [&] { return blePorts.size() + bleNames.size(); });
  EXPECT_EQ(usbCount, 8u);
  EXPECT_EQ(serialCount, 300u);
  EXPECT_EQ(bleCount, 40u);
  std::printf(
      "benchmark: one listing (mean of 10), port monitor tick 500 ms\n"
      "  USB, 8 printers:          %8.2f ms\n"
      "  serial map, 300 values:   %8.2f ms\n"
      "  Bluetooth, 20 devices:    %8.2f ms\n",
      usbMs, serialMs, bleMs);
  RecordProperty("usb_ms", static_cast<int>(usbMs * 1000));
  RecordProperty("serial_ms", static_cast<int>(serialMs * 1000));
  RecordProperty("bluetooth_ms", static_cast<int>(bleMs * 1000));
}

}  // namespace
}  // namespace discovery
