#include "support/sim_printer_win.h"

#include <setupapi.h>

#include <cstdlib>
#include <stdexcept>

#include "discovery/usb_interfaces_win.h"
#include "discovery/usb_ports.h"

namespace testsupport {
namespace {

constexpr DWORD kStartMs = 10000;

std::string ReadFileBytes(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char buffer[8192];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(f);
  return bytes;
}

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2)
    bytes += static_cast<char>(std::strtol(hex.substr(i, 2).c_str(), nullptr, 16));
  return bytes;
}

bool StartsWith(const std::string& line, const char* prefix) {
  return line.compare(0, std::char_traits<char>::length(prefix), prefix) == 0;
}

std::string NarrowAscii(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += static_cast<char>(c < 0x80 ? c : '?');
  return out;
}

std::string Lower(std::string text) {
  for (auto& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

int g_counter = 0;

}  // namespace

SimulatedPrinter SimulatedPrinter::Start(const std::string& arguments, const std::string& name) {
  const std::string dir = BinaryDirUnix() + "/sim";
  const std::string log = dir + "/" + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
                          std::to_string(++g_counter) + ".log";
  RunHost("mkdir -p " + ShellQuote(dir) + " && rm -f " + ShellQuote(log));
  SimulatedPrinter printer;
  printer.logPath_ = UnixPathToWindows(log);
  printer.host_ =
      StartHost("exec python3 " + ShellQuote(SourceDirUnix() + "/tests/support/sim_printer.py") +
                " --seconds 600 " + arguments + " " + ShellQuote(log));
  DWORD start = GetTickCount();
  while (GetTickCount() - start < kStartMs) {
    if (StartsWith(ReadFileBytes(printer.logPath_), "ready")) return printer;
    if (!printer.host_.Running() && GetTickCount() - start > 500) break;
    Sleep(20);
  }
  throw std::runtime_error("simulated printer did not start: " + arguments + "\n" +
                           printer.host_.Output());
}

SimulatedPrinter SimulatedPrinter::Serial(int comNumber) {
  return DosDevice("com" + std::to_string(comNumber));
}

SimulatedPrinter SimulatedPrinter::DosDevice(const std::string& name) {
  return Start("pty \"$WINEPREFIX/dosdevices/\"" + ShellQuote(name), "pty");
}

SimulatedPrinter SimulatedPrinter::Network(const std::string& address, unsigned short port) {
  return Start("tcp " + ShellQuote(address) + " " + std::to_string(port), "tcp");
}

SimulatedPrinter::~SimulatedPrinter() {
  if (host_.Started()) host_.Stop(1000);
}

std::vector<std::string> SimulatedPrinter::Lines() const {
  std::vector<std::string> lines;
  std::string text = ReadFileBytes(logPath_);
  size_t start = 0;
  for (size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  if (lines.size() <= skipLines_) return {};
  return std::vector<std::string>(lines.begin() + static_cast<long>(skipLines_), lines.end());
}

std::string SimulatedPrinter::Received() const {
  std::string bytes;
  for (const auto& line : Lines())
    if (StartsWith(line, "data ")) bytes += FromHex(line.substr(5));
  return bytes;
}

std::vector<std::string> SimulatedPrinter::Sessions() const {
  std::vector<std::string> sessions;
  bool open = false;
  for (const auto& line : Lines()) {
    if (line == "open" || StartsWith(line, "conn ")) {
      sessions.emplace_back();
      open = true;
    } else if (line == "close" || StartsWith(line, "end ")) {
      open = false;
    } else if (StartsWith(line, "data ")) {
      if (!open && sessions.empty()) sessions.emplace_back();
      sessions.back() += FromHex(line.substr(5));
    }
  }
  // Opens that received nothing (a listing that only looked) do not count as sessions.
  std::vector<std::string> written;
  for (auto& s : sessions)
    if (!s.empty()) written.push_back(s);
  return written;
}

int SimulatedPrinter::Opens() const {
  int count = 0;
  for (const auto& line : Lines())
    if (line == "open" || StartsWith(line, "conn ")) ++count;
  return count;
}

int SimulatedPrinter::Baud() const {
  int baud = 0;
  for (const auto& line : Lines())
    if (StartsWith(line, "baud ")) baud = std::atoi(line.c_str() + 5);
  return baud;
}

bool SimulatedPrinter::WaitForBytes(size_t count, DWORD timeoutMs) const {
  DWORD start = GetTickCount();
  for (;;) {
    if (Received().size() >= count) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
}

void SimulatedPrinter::Settle(DWORD quietMs, DWORD timeoutMs) const {
  DWORD start = GetTickCount();
  size_t seen = Lines().size();
  DWORD quietSince = GetTickCount();
  while (GetTickCount() - start < timeoutMs && GetTickCount() - quietSince < quietMs) {
    Sleep(20);
    size_t now = Lines().size();
    if (now != seen) {
      seen = now;
      quietSince = GetTickCount();
    }
  }
}

void SimulatedPrinter::Clear() { skipLines_ += Lines().size(); }

std::string SimulatedPrinter::Log() const { return ReadFileBytes(logPath_); }

namespace {

// Device instances this program registered, removed again by RemoveSimulatedUsbPrinters.
std::vector<std::wstring>& Registered() {
  static std::vector<std::wstring> ids;
  return ids;
}

bool RemoveDevice(const std::wstring& instanceId) {
  HDEVINFO set = SetupDiCreateDeviceInfoList(nullptr, nullptr);
  if (set == INVALID_HANDLE_VALUE) return false;
  SP_DEVINFO_DATA device = {};
  device.cbSize = sizeof device;
  bool removed = SetupDiOpenDeviceInfoW(set, instanceId.c_str(), nullptr, 0, &device) &&
                 SetupDiRemoveDevice(set, &device);
  SetupDiDestroyDeviceInfoList(set);
  return removed;
}

void SetDword(const std::wstring& keyPath, const wchar_t* name, DWORD value) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    throw std::runtime_error("cannot create the interface key");
  RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

}  // namespace

std::unique_ptr<SimulatedUsbPrinter> SimulatedUsbPrinter::Attach(const std::wstring& vidPid,
                                                                 int portNumber,
                                                                 const std::wstring& instance) {
  std::unique_ptr<SimulatedUsbPrinter> printer(new SimulatedUsbPrinter);
  printer->instanceId_ = L"USB\\" + vidPid + L"\\" + instance;
  RemoveDevice(printer->instanceId_);  // left by an earlier run
  const GUID& usbPrint = discovery::kUsbPrintInterfaceClass;
  HDEVINFO set = SetupDiCreateDeviceInfoList(&usbPrint, nullptr);
  SP_DEVINFO_DATA device = {};
  device.cbSize = sizeof device;
  SP_DEVICE_INTERFACE_DATA iface = {};
  iface.cbSize = sizeof iface;
  bool made = set != INVALID_HANDLE_VALUE &&
              SetupDiCreateDeviceInfoW(set, printer->instanceId_.c_str(), &usbPrint, nullptr,
                                       nullptr, 0, &device) &&
              SetupDiRegisterDeviceInfo(set, &device, 0, nullptr, nullptr, nullptr) &&
              SetupDiCreateDeviceInterfaceW(set, &device, &usbPrint, nullptr, 0, &iface);
  if (made) {
    DWORD size = 0;
    SetupDiGetDeviceInterfaceDetailW(set, &iface, nullptr, 0, &size, nullptr);
    std::vector<unsigned char> block(size + sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W) + 2, 0);
    auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(block.data());
    detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
    made = SetupDiGetDeviceInterfaceDetailW(set, &iface, detail, size, nullptr, nullptr);
    if (made) printer->devicePath_ = detail->DevicePath;
  }
  DWORD error = GetLastError();
  if (set != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set);
  if (!made)
    throw std::runtime_error("cannot register the USB printer (error " + std::to_string(error) +
                             ")");
  Registered().push_back(printer->instanceId_);
  // The device opens what dosdevices holds under the path without its "\\?\" head.
  printer->capture_.reset(new SimulatedPrinter(
      SimulatedPrinter::DosDevice(Lower(NarrowAscii(printer->devicePath_.substr(4))))));
  SetDword(discovery::DeviceClassKeyPath(printer->devicePath_, L"Device Parameters"),
           L"Port Number", static_cast<DWORD>(portNumber));
  SetDword(discovery::DeviceClassKeyPath(printer->devicePath_, L"Control"), L"Linked", 1);
  return printer;
}

SimulatedUsbPrinter::~SimulatedUsbPrinter() {
  RemoveDevice(instanceId_);
  auto& ids = Registered();
  for (auto it = ids.begin(); it != ids.end(); ++it)
    if (*it == instanceId_) {
      ids.erase(it);
      break;
    }
}

void RemoveSimulatedUsbPrinters() {
  for (const auto& id : Registered()) RemoveDevice(id);
  Registered().clear();
}

}  // namespace testsupport
