// Simulated printers for the Wine tests, each capturing exactly the bytes it receives:
//
//   auto printer = SimulatedPrinter::Serial(3);          // a pty behind COM3 of the prefix
//   ... the code under test writes to COM3 ...
//   printer.WaitForBytes(20);
//   EXPECT_EQ(printer.Received(), page + cut);
//   EXPECT_EQ(printer.Opens(), 2);
//
//   auto usb = SimulatedUsbPrinter::Attach(L"VID_0483&PID_5720", 1);    // listed as USB001
//   auto net = SimulatedPrinter::Network("127.0.91.1");                  // port 9100
//
// The host side is tests/support/sim_printer.py, run as a host command (host_win.h); it logs
// every open, close, connection and data block to a file that these classes read. Every wait is
// bounded, and the host command ends with its object (or after ten minutes at the latest).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "support/host_win.h"

namespace testsupport {

class SimulatedPrinter {
 public:
  // A serial printer: a raw pty linked as $WINEPREFIX/dosdevices/com<n>.
  static SimulatedPrinter Serial(int comNumber);
  // A pty linked as $WINEPREFIX/dosdevices/<name>, the name in the prefix's lower case.
  static SimulatedPrinter DosDevice(const std::string& name);
  // A network printer listening on <address>:<port>; any 127.x.y.z address is loopback.
  static SimulatedPrinter Network(const std::string& address = "127.0.0.1",
                                  unsigned short port = 9100);

  SimulatedPrinter(SimulatedPrinter&&) noexcept = default;
  SimulatedPrinter& operator=(SimulatedPrinter&&) noexcept = default;
  ~SimulatedPrinter();

  std::string Received() const;               // every byte so far, in order
  std::vector<std::string> Sessions() const;  // the bytes of each open or connection
  int Opens() const;                          // opens of the pty, or connections
  int Baud() const;                           // pty line speed when data last came; 0 unknown
  bool WaitForBytes(size_t count, DWORD timeoutMs = 5000) const;
  // Waits until no event has been logged for `quietMs` (at most `timeoutMs`).
  void Settle(DWORD quietMs = 300, DWORD timeoutMs = 5000) const;
  // Forgets what was captured so far.
  void Clear();
  // The host side's log, for failure messages.
  std::string Log() const;

 private:
  SimulatedPrinter() = default;
  static SimulatedPrinter Start(const std::string& arguments, const std::string& name);
  std::vector<std::string> Lines() const;

  HostProcess host_;
  std::wstring logPath_;
  size_t skipLines_ = 0;
};

// A USB printer of the printing interface class: registered in the prefix so that the interface
// walk finds it ("Linked" 1, "Port Number" n), its device path opening a pty that captures.
class SimulatedUsbPrinter {
 public:
  // vidPid as in a hardware id, "VID_0483&PID_5720"; instance tells printers of one model apart.
  static std::unique_ptr<SimulatedUsbPrinter> Attach(const std::wstring& vidPid, int portNumber,
                                                     const std::wstring& instance = L"0001");
  ~SimulatedUsbPrinter();  // unplugs it

  const std::wstring& DevicePath() const { return devicePath_; }
  SimulatedPrinter& Capture() { return *capture_; }

 private:
  SimulatedUsbPrinter() = default;
  std::wstring devicePath_;
  std::wstring instanceId_;
  std::unique_ptr<SimulatedPrinter> capture_;
};

// Unplugs every USB printer a test program registered and did not remove (after a crash).
void RemoveSimulatedUsbPrinters();

}  // namespace testsupport
