// The registry that the serial and Bluetooth listings read, set up by a test and put back when
// it ends: the serial-port map (HARDWARE\DEVICEMAP\SERIALCOMM) and the Bluetooth enumeration
// branch (SYSTEM\CurrentControlSet\Enum\BTHENUM). The tool's process sees the same registry.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

// Empties the serial-port map for the test's own values; the prefix's values come back after.
class SerialMapOverride {
 public:
  static constexpr const wchar_t* kPath = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
  SerialMapOverride();
  ~SerialMapOverride();
  SerialMapOverride(const SerialMapOverride&) = delete;
  SerialMapOverride& operator=(const SerialMapOverride&) = delete;

  // One serial port: device object name ("\Device\Serial0") and port name, as text or as the
  // given registry type.
  void Add(const std::wstring& device, const std::wstring& port, DWORD type = REG_SZ);
  // Removes the map itself (a machine without serial ports).
  void RemoveMap();

 private:
  struct Saved {
    std::wstring name;
    DWORD type;
    std::string data;
  };
  HKEY key_ = nullptr;
  std::vector<Saved> saved_;
};

// A Bluetooth enumeration branch of the test's own, removed with it.
class BluetoothBranchOverride {
 public:
  static constexpr const wchar_t* kPath = L"SYSTEM\\CurrentControlSet\\Enum\\BTHENUM";
  BluetoothBranchOverride();
  ~BluetoothBranchOverride();
  BluetoothBranchOverride(const BluetoothBranchOverride&) = delete;
  BluetoothBranchOverride& operator=(const BluetoothBranchOverride&) = delete;

  // A service key with one instance whose "Device Parameters" hold PortName.
  void AddService(const std::wstring& key, const std::wstring& port);
  // A remote-device key with one instance that holds FriendlyName.
  void AddDevice(const std::wstring& key, const std::wstring& friendlyName);
  void RemoveBranch();
};

// Deletes a key with everything below it; false when the key is not there or could not go.
bool DeleteRegistryTree(HKEY parent, const std::wstring& name);

}  // namespace testsupport
