// The direct-printing transport's settings and the rules that choose them: which transport a port
// name selects, how the serial port is named and set up, which USB printers may be opened.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace printing {

// The transport of the next write. The values are the positions of the keywords "LPT", "COM",
// "USB" and "LAN", which are tested in this order.
enum class TransportKind { Lpt = 0, Com = 1, Usb = 2, Lan = 3 };

// What the transport writes to; the handles live beside it in the Win32 shell.
struct TransportSettings {
  TransportKind kind = TransportKind::Usb;
  std::wstring serialPortName = L"COM1";  // without the "\\.\" prefix
  std::wstring parallelPortName = L"LPT1";
  int baudRate = 9600;
  unsigned char parity = 0;    // none; nothing changes it
  unsigned char stopBits = 0;  // one stop bit; nothing changes it
};

// Letters a to z become A to Z; every other character stays.
std::wstring UpperAscii(std::wstring text);

// Reads a base-10 integer the way atoi does (leading white space, optional sign, digits up to the
// first non-digit, none gives 0); values beyond the int range saturate.
int ParseBaudRate(const std::wstring& text);

// Applies a port name and its parameter (baud rate text, or address for the network) to the
// settings. Returns false, changing nothing, when the name holds none of the four keywords. For
// Lan the caller connects to the parameter's address afterwards.
bool SelectTransportSettings(TransportSettings& settings, const std::wstring& portName,
                             const std::wstring& parameter);

// The name CreateFile opens for a serial port: names longer than four characters (COM10 and up)
// need the device namespace prefix, "\\.\COM10".
std::wstring SerialDeviceName(const std::wstring& portName);

// Line settings of the serial port; every field not named here is zero in the control block
// (no flow control, RTS control disabled). None for a baud rate of 0 or below: the port keeps
// the settings it has (Windows drivers refuse such a block; some emulations would hang up).
struct SerialLineSettings {
  unsigned long baudRate;
  unsigned char byteSize;
  unsigned char parity;
  unsigned char stopBits;
  bool dtrEnable;
};
std::optional<SerialLineSettings> SerialLineFor(const TransportSettings& settings);

// Port time-outs in milliseconds.
struct PortTimeouts {
  unsigned long readInterval;
  unsigned long readTotalMultiplier;
  unsigned long readTotalConstant;
  unsigned long writeTotalMultiplier;
  unsigned long writeTotalConstant;
};
// A serial write may take 2 ms plus 1 ms per byte.
constexpr PortTimeouts kSerialTimeouts = {0, 20, 20, 1, 2};
constexpr PortTimeouts kParallelTimeouts = {0, 20, 20, 1, 2000};

// Whether the transport may open the USB printer at this device interface path (as ANSI bytes):
// the 17 characters from position 8 on ("vid_xxxx&pid_xxxx" in a USB path) must contain one of
// the nine known vendor ids, ignoring the case of A to Z. Shorter paths never match.
bool IsKnownUsbVendor(std::string_view ansiDevicePath);

// Period of the dialog's re-enable timer started by a text page over this transport, or 0 when
// none is started (network).
unsigned ReenableTimerPeriod(TransportKind kind);

}  // namespace printing
