#include "install/registration_win.h"

#include <winspool.h>

#include "classlib/message_box_win.h"
#include "common/format.h"
#include "install/messages.h"

namespace install {
namespace {

// The spooler takes texts as non-const pointers but does not change them.
wchar_t* Text(const std::wstring& text) { return const_cast<wchar_t*>(text.c_str()); }
wchar_t* TextOrNone(const std::wstring& text) { return text.empty() ? nullptr : Text(text); }

}  // namespace

std::wstring PrinterDriverDirectory(const std::wstring& environment) {
  // Sized from what the spooler reports, so that a long directory path fits.
  DWORD needed = 0;
  GetPrinterDriverDirectoryW(nullptr, Text(environment), 1, nullptr, 0, &needed);
  if (needed == 0) return L"";
  std::vector<BYTE> buffer(needed + sizeof(wchar_t), 0);
  if (!GetPrinterDriverDirectoryW(nullptr, Text(environment), 1, buffer.data(), needed, &needed))
    return L"";
  return reinterpret_cast<const wchar_t*>(buffer.data());
}

bool EnumerateInstalledPrinterNames(std::vector<std::wstring>& names) {
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  wchar_t noName[] = L"";
  DWORD needed = 0, count = 0;
  EnumPrintersW(flags, noName, 2, nullptr, 0, &needed, &count);
  // A printer added between the two calls needs a larger buffer: ask again a few times.
  for (int attempt = 0; attempt < 3; ++attempt) {
    std::vector<BYTE> buffer(needed + 4, 0);
    if (EnumPrintersW(flags, noName, 2, buffer.data(), static_cast<DWORD>(buffer.size()), &needed,
                      &count)) {
      const auto* printers = reinterpret_cast<const PRINTER_INFO_2W*>(buffer.data());
      names.clear();
      for (DWORD i = 0; i < count; ++i)
        names.push_back(printers[i].pPrinterName ? printers[i].pPrinterName : L"");
      return true;
    }
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER) break;
  }
  return false;
}

void ShowSystemErrorText(DWORD error) {
  wchar_t* text = nullptr;
  DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&text), 0,
      nullptr);
  std::wstring message = length && text
                             ? std::wstring(text)
                             : common::FormatText(L"%u", {static_cast<long long>(error)});
  if (text) LocalFree(text);
  classlib::ShowMessage(classlib::MainWindow(), message);
}

bool RegisterDriver(const DriverDescription& driver, common::LangId windowsLanguage) {
  const std::wstring dependents =
      driver.dependentFiles.empty() ? std::wstring() : MultiString(driver.dependentFiles);
  DRIVER_INFO_3W info = {};
  info.cVersion = driver.version;
  info.pName = Text(driver.name);
  info.pEnvironment = Text(driver.environment);
  info.pDriverPath = Text(driver.driverPath);
  info.pDataFile = Text(driver.dataFile);
  info.pConfigFile = Text(driver.configFile);
  info.pHelpFile = Text(driver.helpFile);
  info.pDependentFiles = TextOrNone(dependents);
  info.pMonitorName = nullptr;
  info.pDefaultDataType = driver.hasDefaultDataType ? Text(driver.defaultDataType) : nullptr;

  BOOL added = AddPrinterDriverW(nullptr, 3, reinterpret_cast<LPBYTE>(&info));
  DWORD error = GetLastError();
  Sleep(kSpoolerPauseMs);
  if (added) {
    Sleep(kSpoolerPauseMs);
    return true;
  }
  ShowSystemErrorText(error);
  classlib::ShowMessage(classlib::MainWindow(), DriverRegistrationFailureMessage(windowsLanguage));
  return false;
}

HANDLE AddQueue(const PrinterDescription& printer) {
  PRINTER_INFO_2W info = {};
  info.pPrinterName = Text(printer.printerName);
  info.pPortName = Text(printer.portName);
  info.pDriverName = Text(printer.driverName);
  info.pPrintProcessor = Text(printer.printProcessor);
  info.pDatatype = Text(printer.dataType);
  info.Attributes = printer.attributes;

  HANDLE queue = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&info));
  DWORD error = GetLastError();
  Sleep(kSpoolerPauseMs);
  if (queue) return queue;
  ShowSystemErrorText(error);
  classlib::ShowMessage(classlib::MainWindow(), QueueCreationFailureMessage());
  return nullptr;
}

void WritePrinterData(HANDLE queue, const std::vector<PrinterDataValue>& values) {
  for (const PrinterDataValue& v : values) {
    DWORD data = static_cast<DWORD>(v.value);
    SetPrinterDataW(queue, const_cast<wchar_t*>(v.name), REG_DWORD, reinterpret_cast<LPBYTE>(&data),
                    sizeof data);
  }
  ClosePrinter(queue);
}

void RemoveStagedFiles(const std::vector<std::wstring>& paths) {
  for (const auto& path : paths) DeleteFileW(path.c_str());
}

bool SetDefaultPrinterByOrdinal(const std::wstring& queueName) {
  using SetDefaultPrinterFunction = BOOL(WINAPI*)(LPCWSTR);
  // The tool links winspool, so this only takes another reference on the loaded module.
  HMODULE winspool = LoadLibraryW(L"winspool.drv");
  if (!winspool) return false;
  auto setDefault = reinterpret_cast<SetDefaultPrinterFunction>(
      reinterpret_cast<void*>(GetProcAddress(winspool, MAKEINTRESOURCEA(204))));
  BOOL done = setDefault ? setDefault(queueName.c_str()) : FALSE;
  FreeLibrary(winspool);
  return done != FALSE;
}

}  // namespace install
