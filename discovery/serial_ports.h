// Rules of the serial and Bluetooth serial port listings, which read the registry.
#pragma once

#include <string>
#include <vector>

namespace discovery {

// One value of the serial-port map (HARDWARE\DEVICEMAP\SERIALCOMM): its name is the device
// object ("\Device\Serial0"), its data the port name when it is of a text type.
struct SerialMapValue {
  std::wstring name;
  bool isText = false;
  std::wstring data;
};

// Appends the port of every value whose name holds "serial" in any case and whose data is text.
void AppendSerialPorts(const std::vector<SerialMapValue>& values, std::vector<std::wstring>& ports);

// Device keys of the Bluetooth enumeration branch (SYSTEM\CurrentControlSet\Enum\BTHENUM).
enum class BluetoothKeyKind {
  Ignored,
  Service,       // "..._LOCALMFG&xxxx" but not "_LOCALMFG&0000": holds a PortName
  RemoteDevice,  // "Dev_<address>": holds the device's FriendlyName
};
BluetoothKeyKind ClassifyBluetoothKey(const std::wstring& keyName);

// A service's PortName is listed only when it holds "COM".
bool IsBluetoothComPort(const std::wstring& portName);

// The name shown for a Bluetooth device: its friendly name, CR LF, and what follows the first
// underscore of its key name (the device's address).
std::wstring BluetoothNameEntry(const std::wstring& friendlyName, const std::wstring& keyName);

// Bluetooth values are read into a buffer of this many bytes (49 characters and the zero).
constexpr unsigned kBluetoothValueBytes = 100;

}  // namespace discovery
