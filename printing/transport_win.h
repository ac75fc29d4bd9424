// The one direct-printing transport of the process: serial port, USB printer device, TCP socket
// or parallel port, chosen by SelectTransport and opened by each write as needed. Interface
// thread only.
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <string>

#include "printing/transport.h"

namespace printing {

struct PrinterTransport {
  TransportSettings settings;
  HANDLE serialHandle = INVALID_HANDLE_VALUE;    // open only during one write
  HANDLE usbHandle = INVALID_HANDLE_VALUE;       // held across successful writes
  HANDLE parallelHandle = INVALID_HANDLE_VALUE;  // opened anew for every write
  SOCKET socket = INVALID_SOCKET;                // connected by discovery::ConnectRawPort
};

// The process-wide instance, alive until the process ends.
PrinterTransport& Transport();

// Chooses the transport by the keyword in the port name; a name without one changes nothing.
// For the network the parameter is the printer's address and the connection is made here.
void SelectTransport(const std::wstring& portName, const std::wstring& parameter);

// Sends a page: its ANSI text and the terminating zero byte. Starts the dialog's re-enable timer
// (id 1) on `dialog` for the serial, parallel and USB transports. An empty text sends nothing.
bool SendText(HWND dialog, const std::wstring& text);

// Writes one block over the current transport, opening it first. Shows the wait cursor.
bool WriteRaw(const void* bytes, int length);

bool EnsureOpen();
HANDLE OpenSerialPort(const std::wstring& name, int baudRate);
bool WriteSerial(const void* bytes, int length);
// The first active USB printer interface of a known vendor, opened; or INVALID_HANDLE_VALUE.
HANDLE OpenUsbPrinter();
bool IsKnownUsbVendor(const std::wstring& devicePath);

}  // namespace printing
