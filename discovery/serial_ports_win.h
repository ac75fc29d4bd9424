// The serial ports of the serial-port map and the serial ports of paired Bluetooth devices,
// read from the registry.
#pragma once

#include <string>
#include <vector>

namespace discovery {

// Appends the ports of HARDWARE\DEVICEMAP\SERIALCOMM whose device name holds "serial". Always
// true, also when the map does not exist.
bool ListSerialPorts(std::vector<std::wstring>& portList);

// Appends the COM ports of the Bluetooth serial services to portList and the names of the paired
// devices to nameList; the two are filled independently and need not be of the same length.
void ListBluetoothSerialPorts(std::vector<std::wstring>& portList,
                              std::vector<std::wstring>& nameList);

}  // namespace discovery
