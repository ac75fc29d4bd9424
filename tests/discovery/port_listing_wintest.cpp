// The USB, serial and Bluetooth listings against the prefix's registry and simulated USB
// printers, and a benchmark of one port-monitor listing of each kind.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "common/format.h"
#include "discovery/serial_ports_win.h"
#include "discovery/usb_ports_win.h"
#include "support/sim_printer_win.h"

namespace discovery {
namespace {

using testsupport::SimulatedUsbPrinter;
using Texts = std::vector<std::wstring>;

Texts Sorted(Texts texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

void DeleteTree(HKEY parent, const std::wstring& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) return;
  wchar_t child[260];
  for (;;) {
    DWORD length = 260;
    if (RegEnumKeyExW(key, 0, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      break;
    DeleteTree(key, child);
  }
  RegCloseKey(key);
  RegDeleteKeyW(parent, name.c_str());
}

void SetText(const std::wstring& keyPath, const wchar_t* name, const std::wstring& text) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                            &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

// Replaces the serial-port map for one test and puts the prefix's own values back afterwards.
class SerialMap {
 public:
  static constexpr const wchar_t* kPath = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
  SerialMap() {
    key_ = Open();
    for (;;) {
      wchar_t name[260];
      BYTE data[520];
      DWORD nameLength = 260, dataBytes = sizeof data, type = 0;
      if (RegEnumValueW(key_, 0, name, &nameLength, nullptr, &type, data, &dataBytes) !=
          ERROR_SUCCESS)
        break;
      saved_.push_back({name, type, std::string(reinterpret_cast<char*>(data), dataBytes)});
      RegDeleteValueW(key_, name);
    }
  }
  ~SerialMap() {
    RegCloseKey(key_);
    key_ = Open();  // anew: a test may have removed the key
    for (;;) {
      wchar_t name[260];
      DWORD nameLength = 260;
      if (RegEnumValueW(key_, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
          ERROR_SUCCESS)
        break;
      RegDeleteValueW(key_, name);
    }
    for (const auto& v : saved_)
      RegSetValueExW(key_, v.name.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.data.data()),
                     static_cast<DWORD>(v.data.size()));
    RegCloseKey(key_);
  }
  void Add(const std::wstring& device, const std::wstring& port, DWORD type = REG_SZ) {
    RegSetValueExW(key_, device.c_str(), 0, type, reinterpret_cast<const BYTE*>(port.c_str()),
                   static_cast<DWORD>((port.size() + 1) * sizeof(wchar_t)));
  }

 private:
  // The hardware branch is volatile, and so must be every key made below it.
  static HKEY Open() {
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPath, 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                    nullptr, &key, nullptr);
    return key;
  }
  struct Saved {
    std::wstring name;
    DWORD type;
    std::string data;
  };
  HKEY key_ = nullptr;
  std::vector<Saved> saved_;
};

// A Bluetooth enumeration branch made by the test and removed with it.
class BluetoothBranch {
 public:
  static constexpr const wchar_t* kPath = L"SYSTEM\\CurrentControlSet\\Enum\\BTHENUM";
  BluetoothBranch() { DeleteTree(HKEY_LOCAL_MACHINE, kPath); }
  ~BluetoothBranch() { DeleteTree(HKEY_LOCAL_MACHINE, kPath); }
  void AddService(const std::wstring& key, const std::wstring& port) {
    SetText(std::wstring(kPath) + L"\\" + key + L"\\7&1a2b3c&0&1\\Device Parameters", L"PortName",
            port);
  }
  void AddDevice(const std::wstring& key, const std::wstring& friendlyName) {
    SetText(std::wstring(kPath) + L"\\" + key + L"\\8&2b3c4d&0", L"FriendlyName", friendlyName);
  }
};

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
  SerialMap map;  // emptied, and then removed for the test
  RegDeleteKeyW(HKEY_LOCAL_MACHINE, SerialMap::kPath);
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
  DeleteTree(HKEY_LOCAL_MACHINE, BluetoothBranch::kPath);
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
