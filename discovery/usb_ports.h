// Rules of the USB printing-port listing: which interfaces count, where Windows keeps their port
// numbers, and how a port is named.
#pragma once

#include <string>

namespace discovery {

// The registry values of one interface are read into a buffer of this many bytes.
constexpr unsigned kDeviceClassValueBytes = 261;

// Whether the eight characters at positions 8 to 15 of a device interface path (the "vid_xxxx"
// after "\\?\usb#") equal one of the listing's eight vendor ids, ignoring case.
bool HasKnownVendorId(const std::wstring& devicePath);

// The printing port of port number n: "USB%03d" (USB001, USB1000).
std::wstring UsbPortName(long long portNumber);

// The key below HKEY_LOCAL_MACHINE that holds an interface's subkey ("Control", "Device
// Parameters"): the device path with every backslash turned into '#', then "\#\" and the subkey.
std::wstring DeviceClassKeyPath(const std::wstring& devicePath, const std::wstring& subkeyName);

}  // namespace discovery
