#include "discovery/serial_ports.h"

#include <gtest/gtest.h>

#include "common/format.h"

using discovery::BluetoothKeyKind;
using discovery::SerialMapValue;

TEST(SerialMap, DeviceNamesHoldingSerialInAnyCase) {
  const std::vector<SerialMapValue> values = {
      {L"\\Device\\Serial0", true, L"COM1"},    {L"\\Device\\VCP0", true, L"COM4"},
      {L"\\Device\\SERIAL2", true, L"COM7"},    {L"\\Device\\ProlificSerial10", true, L"COM5"},
      {L"\\Device\\Serial3", false, L"\x4F43"},  // binary data is no port name
      {L"\\Device\\Serial0", true, L"COM1"},     // duplicates stay
  };
  std::vector<std::wstring> ports = {L"kept"};
  discovery::AppendSerialPorts(values, ports);
  EXPECT_EQ(ports, (std::vector<std::wstring>{L"kept", L"COM1", L"COM7", L"COM5", L"COM1"}));
}

TEST(SerialMap, EveryValueOfALongMapIsExamined) {
  std::vector<SerialMapValue> values;
  for (int i = 0; i < 300; ++i)
    values.push_back({common::FormatText(L"\\Device\\Serial%d", {i}), true,
                      common::FormatText(L"COM%d", {i + 1})});
  std::vector<std::wstring> ports;
  discovery::AppendSerialPorts(values, ports);
  ASSERT_EQ(ports.size(), 300u);
  EXPECT_EQ(ports.back(), L"COM300");
}

TEST(BluetoothKeys, ServiceRemoteDeviceOrIgnored) {
  struct Case {
    const wchar_t* name;
    BluetoothKeyKind kind;
  };
  const Case cases[] = {
      {L"{00001101-0000-1000-8000-00805f9b34fb}_LOCALMFG&0002", BluetoothKeyKind::Service},
      {L"{00001101-0000-1000-8000-00805f9b34fb}_LOCALMFG&0000", BluetoothKeyKind::Ignored},
      {L"Dev_001122AABBCC", BluetoothKeyKind::RemoteDevice},
      {L"Dev_001122AABBCC_LOCALMFG&000f", BluetoothKeyKind::Service},
      {L"Dev_001122AABBCC_LOCALMFG&0000", BluetoothKeyKind::RemoteDevice},
      {L"dev_001122AABBCC", BluetoothKeyKind::Ignored},
      {L"{0000111f-0000-1000-8000-00805f9b34fb}_localmfg&0002", BluetoothKeyKind::Ignored},
      {L"", BluetoothKeyKind::Ignored},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(discovery::ClassifyBluetoothKey(c.name), c.kind);
  }
}

TEST(BluetoothPorts, OnlyNamesHoldingCom) {
  EXPECT_TRUE(discovery::IsBluetoothComPort(L"COM8"));
  EXPECT_TRUE(discovery::IsBluetoothComPort(L"xCOMy"));
  EXPECT_FALSE(discovery::IsBluetoothComPort(L"com8"));
  EXPECT_FALSE(discovery::IsBluetoothComPort(L""));
}

TEST(BluetoothNameEntry, FriendlyNameThenTheAddressAfterTheFirstUnderscore) {
  EXPECT_EQ(discovery::BluetoothNameEntry(L"PT-210", L"Dev_001122AABBCC"),
            L"PT-210\r\n001122AABBCC");
  EXPECT_EQ(discovery::BluetoothNameEntry(L"P", L"Dev_0011_22"), L"P\r\n0011_22");
}
