#include "printing/transport_win.h"

#include "app/control_ids.h"
#include "classlib/ansi_text_win.h"
#include "discovery/raw_port_win.h"
#include "discovery/usb_interfaces_win.h"
#include "printing/pages.h"

namespace printing {
namespace {

void CloseIfOpen(HANDLE& handle) {
  if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
  handle = INVALID_HANDLE_VALUE;
}

HANDLE OpenExclusive(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0,
                     nullptr);
}

void ApplyTimeouts(HANDLE port, const PortTimeouts& values) {
  COMMTIMEOUTS timeouts = {};
  GetCommTimeouts(port, &timeouts);
  timeouts.ReadIntervalTimeout = values.readInterval;
  timeouts.ReadTotalTimeoutMultiplier = values.readTotalMultiplier;
  timeouts.ReadTotalTimeoutConstant = values.readTotalConstant;
  timeouts.WriteTotalTimeoutMultiplier = values.writeTotalMultiplier;
  timeouts.WriteTotalTimeoutConstant = values.writeTotalConstant;
  SetCommTimeouts(port, &timeouts);
}

bool WriteAll(HANDLE handle, const void* bytes, int length) {
  DWORD written = 0;
  return WriteFile(handle, bytes, static_cast<DWORD>(length), &written, nullptr) != FALSE;
}

bool WriteUsb(PrinterTransport& t, const void* bytes, int length) {
  PurgeComm(t.usbHandle, PURGE_TXCLEAR | PURGE_RXCLEAR);
  for (int attempt = 0; attempt < 2 && t.usbHandle != INVALID_HANDLE_VALUE; ++attempt) {
    if (WriteAll(t.usbHandle, bytes, length)) return true;
    // The printer may have been unplugged and come back: search it again. The failed handle is
    // closed first, as the device is opened without sharing.
    CloseIfOpen(t.usbHandle);
    if (attempt == 0) t.usbHandle = OpenUsbPrinter();
  }
  CloseIfOpen(t.usbHandle);
  return false;
}

bool SendToSocket(PrinterTransport& t, const void* bytes, int length) {
  bool sent = t.socket != INVALID_SOCKET &&
              send(t.socket, static_cast<const char*>(bytes), length, 0) != SOCKET_ERROR;
  if (!sent) {
    // The bytes are not sent again: the connection is gone until the next selection.
    if (t.socket != INVALID_SOCKET) closesocket(t.socket);
    t.socket = INVALID_SOCKET;
    Sleep(50);
    EnsureOpen();
  }
  Sleep(25);
  return sent;
}

}  // namespace

PrinterTransport& Transport() {
  static PrinterTransport* transport = new PrinterTransport;  // never destroyed
  return *transport;
}

void SelectTransport(const std::wstring& portName, const std::wstring& parameter) {
  PrinterTransport& t = Transport();
  if (!SelectTransportSettings(t.settings, portName, parameter)) return;
  if (t.settings.kind == TransportKind::Lan) discovery::ConnectRawPort(parameter);
}

bool EnsureOpen() {
  PrinterTransport& t = Transport();
  CloseIfOpen(t.parallelHandle);  // opened anew for every write
  switch (t.settings.kind) {
    case TransportKind::Lpt: {
      HANDLE port = OpenExclusive(t.settings.parallelPortName);
      if (port == INVALID_HANDLE_VALUE) return false;
      ApplyTimeouts(port, kParallelTimeouts);
      t.parallelHandle = port;
      return true;
    }
    case TransportKind::Com:
      if (t.serialHandle == INVALID_HANDLE_VALUE)
        t.serialHandle = OpenSerialPort(t.settings.serialPortName, t.settings.baudRate);
      return t.serialHandle != INVALID_HANDLE_VALUE;
    case TransportKind::Usb:
      if (t.usbHandle == INVALID_HANDLE_VALUE) t.usbHandle = OpenUsbPrinter();
      return t.usbHandle != INVALID_HANDLE_VALUE;
    case TransportKind::Lan:
      return true;
  }
  return false;
}

HANDLE OpenSerialPort(const std::wstring& name, int baudRate) {
  HANDLE port = OpenExclusive(SerialDeviceName(name));
  if (port == INVALID_HANDLE_VALUE) return port;
  ApplyTimeouts(port, kSerialTimeouts);
  TransportSettings settings = Transport().settings;
  settings.baudRate = baudRate;
  const auto line = SerialLineFor(settings);
  if (!line) return port;  // no usable baud rate: the port keeps its line settings
  DCB control = {};        // not based on the port's current block: no flow control of any kind
  control.DCBlength = sizeof control;
  control.BaudRate = line->baudRate;
  control.ByteSize = line->byteSize;
  control.Parity = line->parity;
  control.StopBits = line->stopBits;
  control.fDtrControl = line->dtrEnable ? DTR_CONTROL_ENABLE : DTR_CONTROL_DISABLE;
  SetCommState(port, &control);  // a refused block leaves the port as it was
  return port;
}

bool WriteSerial(const void* bytes, int length) {
  PrinterTransport& t = Transport();
  PurgeComm(t.serialHandle, PURGE_TXCLEAR | PURGE_RXCLEAR);
  for (int attempt = 0; attempt < 2; ++attempt) {
    if (WriteAll(t.serialHandle, bytes, length)) return true;
    if (attempt == 0) {
      // Opened without sharing: the failed handle must go before the port opens again.
      CloseIfOpen(t.serialHandle);
      t.serialHandle = OpenSerialPort(t.settings.serialPortName, t.settings.baudRate);
    }
  }
  return false;
}

bool WriteRaw(const void* bytes, int length) {
  SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  if (!EnsureOpen()) return false;
  PrinterTransport& t = Transport();
  switch (t.settings.kind) {
    case TransportKind::Lpt:
      if (t.parallelHandle == INVALID_HANDLE_VALUE) return false;
      PurgeComm(t.parallelHandle, PURGE_TXCLEAR | PURGE_RXCLEAR);
      return WriteAll(t.parallelHandle, bytes, length);
    case TransportKind::Com: {
      bool written = WriteSerial(bytes, length);
      CloseIfOpen(t.serialHandle);
      return written;
    }
    case TransportKind::Usb:
      return WriteUsb(t, bytes, length);
    case TransportKind::Lan:
      return SendToSocket(t, bytes, length);
  }
  return false;
}

bool SendText(HWND dialog, const std::wstring& text) {
  if (text.empty()) return false;
  const std::string page = PageBytes(classlib::WideToAnsi(text));
  unsigned period = ReenableTimerPeriod(Transport().settings.kind);
  if (period != 0) SetTimer(dialog, app::kTimerReenableControls, period, nullptr);
  return WriteRaw(page.data(), static_cast<int>(page.size()));
}

HANDLE OpenUsbPrinter() {
  HANDLE device = INVALID_HANDLE_VALUE;
  discovery::WalkUsbPrinterInterfaces(
      discovery::kUsbPrintInterfaceClass, [&device](const std::wstring& path) {
        if (!IsKnownUsbVendor(path)) return discovery::UsbWalkStep::Next;
        device = OpenExclusive(path);
        return discovery::UsbWalkStep::Stop;  // the first known printer is the one, even when it
                                              // does not open
      });
  return device;
}

bool IsKnownUsbVendor(const std::wstring& devicePath) {
  return printing::IsKnownUsbVendor(classlib::WideToAnsi(devicePath));
}

}  // namespace printing
