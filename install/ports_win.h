// Spooler ports prepared in the registry before an install, and the spooler restart that makes
// the spooler read them.
#pragma once

#include <string>

namespace install {

// Line settings "<baud>,n,8,1" for the serial port (name with its colon, such as COM3:), then
// the spooler restart, also when the value could not be written.
void SetSerialPortSettings(const std::wstring& portName, const std::wstring& baudText);

// A standard TCP/IP port named by the address, raw on port 9100, then the spooler restart.
// An existing port of that name is overwritten. An empty address registers nothing.
void RegisterTcpIpPort(const std::wstring& address);

// "net stop spooler", a short pause, "net start spooler"; each wait is bounded.
void RestartSpooler();

}  // namespace install
