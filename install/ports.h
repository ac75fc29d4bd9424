// Spooler ports that the Install command prepares in the registry before installing: the line
// settings of a serial port, and a standard TCP/IP port printing raw to 9100.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace install {

// HKEY_LOCAL_MACHINE key whose values hold the line settings of each serial port.
constexpr const wchar_t* kSerialPortsKey =
    L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

// HKEY_LOCAL_MACHINE key of the standard TCP/IP port monitor's ports, one sub-key per port.
constexpr const wchar_t* kTcpIpPortsKey =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports";

// Data of the serial port's value: "<baud>,n,8,1" (no parity, 8 data bits, 1 stop bit).
std::wstring SerialPortValue(const std::wstring& baudText);

// Name of the TCP/IP port key: the address text, at most 259 characters.
std::wstring TcpIpPortKeyName(const std::wstring& address);

struct RegistryValue {
  enum class Type { String, Dword };
  std::wstring name;
  Type type;
  std::wstring text;     // String: stored with its terminating zero
  unsigned long number;  // Dword
};

// The TCP/IP port's values in writing order. "HostName" only when an address is given;
// "Version" (1 on Windows 5.x, 2 on later versions) only when the major version is known.
std::vector<RegistryValue> TcpIpPortValues(const std::wstring& address,
                                           std::optional<unsigned> windowsMajorVersion);

// The spooler restart: "net" run twice with these parameters.
constexpr const wchar_t* kNetCommand = L"net";
constexpr const wchar_t* kStopSpoolerParameters = L"stop spooler";
constexpr const wchar_t* kStartSpoolerParameters = L"start spooler";
// Pause between the stop and the start.
constexpr unsigned kSpoolerRestartPauseMs = 20;
// Longest wait for each net command; the service control manager gives up on a service that
// does not stop within 20 s or so, so a longer wait means net itself hangs.
constexpr unsigned kNetCommandWaitMs = 60000;

}  // namespace install
