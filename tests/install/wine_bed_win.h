// Helpers of the installation tests under Wine: message boxes caught and answered, folders laid
// out like the tool's folder, the tool's installer run in a child process of its own (its own
// program folder and interface language), and read-backs of the spooler's state.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "classlib/ansi_text_win.h"
#include "common/format.h"
#include "install/registration_win.h"

namespace installbed {

// --- message boxes -----------------------------------------------------------------------------

struct CaughtBox {
  std::wstring caption;
  std::wstring text;
};

// Watches the process's top-level windows from a thread of its own; every message box that
// appears is recorded and closed with OK. The watch ends with the object, and after at most
// kLimitMs in any case.
class MessageBoxCatcher {
 public:
  static constexpr DWORD kLimitMs = 120000;

  MessageBoxCatcher() {
    InitializeCriticalSection(&lock_);
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &MessageBoxCatcher::Watch, this, 0, nullptr);
  }
  ~MessageBoxCatcher() {
    SetEvent(stop_);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
    CloseHandle(stop_);
    DeleteCriticalSection(&lock_);
  }
  MessageBoxCatcher(const MessageBoxCatcher&) = delete;
  MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

  std::vector<CaughtBox> Boxes() {
    EnterCriticalSection(&lock_);
    std::vector<CaughtBox> copy = boxes_;
    LeaveCriticalSection(&lock_);
    return copy;
  }

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM context) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t cls[32] = {};
    GetClassNameW(window, cls, 32);
    if (pid == GetCurrentProcessId() && IsWindowVisible(window) && wcscmp(cls, L"#32770") == 0)
      reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
    return TRUE;
  }

  static std::wstring TextOf(HWND window) {
    std::wstring text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, &text[0], static_cast<int>(text.size())));
    return text;
  }

  static DWORD WINAPI Watch(void* self) {
    auto* catcher = static_cast<MessageBoxCatcher*>(self);
    DWORD started = GetTickCount();
    while (WaitForSingleObject(catcher->stop_, 20) == WAIT_TIMEOUT &&
           GetTickCount() - started < kLimitMs) {
      std::vector<HWND> boxes;
      EnumWindows(&MessageBoxCatcher::Collect, reinterpret_cast<LPARAM>(&boxes));
      for (HWND box : boxes) {
        HWND textControl = GetDlgItem(box, 0xFFFF);  // the message text of a message box
        CaughtBox caught = {TextOf(box), textControl ? TextOf(textControl) : L""};
        EnterCriticalSection(&catcher->lock_);
        catcher->boxes_.push_back(caught);
        LeaveCriticalSection(&catcher->lock_);
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(20);
      }
    }
    return 0;
  }

  CRITICAL_SECTION lock_;
  HANDLE stop_;
  HANDLE thread_;
  std::vector<CaughtBox> boxes_;
};

// --- files -------------------------------------------------------------------------------------

// A Unix path of the build machine as Wine sees it.
inline std::wstring FromUnix(const char* unixPath) {
  std::wstring path = L"Z:" + classlib::AnsiToWide(unixPath);
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

inline std::wstring SourcePackage() { return FromUnix(SOURCE_DIR_UNIX "/package"); }

inline std::wstring Join(const std::wstring& folder, const std::wstring& name) {
  return folder + L"\\" + name;
}

inline bool Exists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Names of the entries of a folder ("." and ".." left out), directories with a trailing '\'.
inline std::set<std::wstring> Entries(const std::wstring& folder) {
  std::set<std::wstring> names;
  WIN32_FIND_DATAW entry;
  HANDLE search = FindFirstFileW(Join(folder, L"*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = entry.cFileName;
    if (name == L"." || name == L"..") continue;
    names.insert(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? name + L"\\" : name);
  } while (FindNextFileW(search, &entry));
  FindClose(search);
  return names;
}

inline void RemoveTree(const std::wstring& folder) {
  for (const auto& name : Entries(folder)) {
    if (name.back() == L'\\') {
      RemoveTree(Join(folder, name.substr(0, name.size() - 1)));
    } else {
      SetFileAttributesW(Join(folder, name).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(Join(folder, name).c_str());
    }
  }
  RemoveDirectoryW(folder.c_str());
}

inline void CopyTree(const std::wstring& from, const std::wstring& to) {
  CreateDirectoryW(to.c_str(), nullptr);
  for (const auto& name : Entries(from)) {
    if (name.back() == L'\\') {
      std::wstring sub = name.substr(0, name.size() - 1);
      CopyTree(Join(from, sub), Join(to, sub));
    } else {
      CopyFileW(Join(from, name).c_str(), Join(to, name).c_str(), FALSE);
    }
  }
}

inline void MarkTreeReadOnly(const std::wstring& folder) {
  for (const auto& name : Entries(folder)) {
    if (name.back() == L'\\')
      MarkTreeReadOnly(Join(folder, name.substr(0, name.size() - 1)));
    else
      SetFileAttributesW(Join(folder, name).c_str(), FILE_ATTRIBUTE_READONLY);
  }
}

inline std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  FILE* in = _wfopen(path.c_str(), L"rb");
  if (!in) return bytes;
  char chunk[4096];
  for (size_t n; (n = fread(chunk, 1, sizeof chunk, in)) > 0;) bytes.append(chunk, n);
  fclose(in);
  return bytes;
}

inline void WriteBytes(const std::wstring& path, const std::string& bytes) {
  FILE* out = _wfopen(path.c_str(), L"wb");
  if (!out) return;
  fwrite(bytes.data(), 1, bytes.size(), out);
  fclose(out);
}

inline std::wstring ModulePath() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size())));
  return path;
}

// --- the installer in a child process ------------------------------------------------------------

// What the child process is asked to do: steps run in one DriverInstaller, in order.
struct InstallStep {
  enum Kind { Install = 'I', TcpIpPort = 'T' };
  int osChoice;
  int modelIndex;
  bool setAsDefault;
  std::string portName;
  const char* architecture = nullptr;  // set: InstallDriverAndQueue with this architecture
  Kind kind = Install;                 // TcpIpPort: RegisterTcpIpPort(portName)
};

struct StepResult {
  bool installed = false;
  std::wstring printerName;
  std::vector<CaughtBox> boxes;
};

struct ChildRun {
  bool finished = false;  // the child wrote its result
  unsigned languageSeen = 0;
  std::wstring caption;  // the executable's base name: every box must carry it
  std::vector<StepResult> steps;
};

// Field separators of the child's result file.
constexpr wchar_t kField = L'\x1E';
constexpr wchar_t kRecord = L'\x1D';

inline std::wstring EncodeSteps(const std::vector<InstallStep>& steps) {
  std::wstring text;
  for (const auto& s : steps)
    text += common::FormatText(
        L"%c,%d,%d,%d,%s,%s;",
        {static_cast<long long>(s.kind), static_cast<long long>(s.osChoice),
         static_cast<long long>(s.modelIndex), static_cast<long long>(s.setAsDefault),
         classlib::AnsiToWide(s.portName),
         classlib::AnsiToWide(s.architecture ? s.architecture : "-")});
  return text;
}

// A folder laid out like the tool's: the test program copied in as the tool, and what the
// package of the case needs. The folder is emptied first.
class ToolFolder {
 public:
  explicit ToolFolder(const std::wstring& name) : folder_(L"C:\\install-bed\\" + name) {
    CreateDirectoryW(L"C:\\install-bed", nullptr);
    RemoveTree(folder_);
    CreateDirectoryW(folder_.c_str(), nullptr);
    CopyFileW(ModulePath().c_str(), Join(folder_, L"Setup.exe").c_str(), FALSE);
  }
  ~ToolFolder() { RemoveTree(folder_); }

  const std::wstring& Path() const { return folder_; }
  void AddWholePackage() { CopyTree(SourcePackage(), folder_); }
  void AddPackageFolder(const std::wstring& relative) {
    CopyTree(Join(SourcePackage(), relative), Join(folder_, relative));
  }

  // Runs the child with the Windows interface language of the Unix locale (such as zh_CN.UTF-8).
  ChildRun Run(const std::vector<InstallStep>& steps, const char* locale = "en_US.UTF-8") const {
    ChildRun run;
    const std::wstring resultFile = Join(folder_, L"result.txt");
    DeleteFileW(resultFile.c_str());
    SetEnvironmentVariableW(L"INSTALL_CHILD_STEPS", EncodeSteps(steps).c_str());
    SetEnvironmentVariableW(L"INSTALL_CHILD_RESULT", resultFile.c_str());
    // A Wine child inherits its parent's user locale; started through the host's env(1)
    // without that inheritance and with LC_ALL set, it takes the locale asked for.
    std::wstring command = common::FormatText(
        L"Z:\\usr\\bin\\env -u WINEUSERLOCALE LC_ALL=%s LANG=%s %s \"%s\" "
        L"--gtest_also_run_disabled_tests --gtest_filter=DISABLED_InstallChild.Run "
        L"--gtest_brief=1",
        {classlib::AnsiToWide(locale), classlib::AnsiToWide(locale), WineLoader(),
         Join(folder_, L"Setup.exe")});
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    // Wine does not follow a host process to its end, so the child's result file, which it
    // moves into place when done, tells that the child has finished.
    if (CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder_.c_str(),
                       &startup, &process)) {
      CloseHandle(process.hProcess);
      CloseHandle(process.hThread);
      for (DWORD waited = 0; !Exists(resultFile) && waited < 180000; waited += 50) Sleep(50);
    }
    SetEnvironmentVariableW(L"INSTALL_CHILD_STEPS", nullptr);
    SetEnvironmentVariableW(L"INSTALL_CHILD_RESULT", nullptr);
    Decode(ReadBytes(resultFile), run);
    return run;
  }

 private:
  // The Unix path of the Wine loader that runs this bed.
  static std::wstring WineLoader() {
    std::wstring loader = Variable(L"WINELOADER");
    return loader.empty() ? L"/usr/lib/wine/wine64" : loader;
  }

  static std::wstring Variable(const wchar_t* name) {
    wchar_t value[512] = {};
    DWORD n = GetEnvironmentVariableW(name, value, 512);
    return n > 0 && n < 512 ? value : L"";
  }

  static std::vector<std::wstring> Split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t at = 0;
    for (size_t hit; (hit = text.find(separator, at)) != std::wstring::npos; at = hit + 1)
      parts.push_back(text.substr(at, hit - at));
    parts.push_back(text.substr(at));
    return parts;
  }

  // Records: language, caption, then per step: installed, printer name, box texts...
  static void Decode(const std::string& bytes, ChildRun& run) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                     static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    std::vector<std::wstring> records = Split(text, kRecord);
    if (records.size() < 2) return;
    run.finished = true;
    run.languageSeen = static_cast<unsigned>(std::wcstoul(records[0].c_str(), nullptr, 10));
    run.caption = records[1];
    for (size_t r = 2; r < records.size(); ++r) {
      if (records[r].empty()) continue;
      std::vector<std::wstring> fields = Split(records[r], kField);
      StepResult step;
      step.installed = fields[0] == L"1";
      step.printerName = fields.size() > 1 ? fields[1] : L"";
      for (size_t f = 2; f + 1 < fields.size(); f += 2)
        step.boxes.push_back({fields[f], fields[f + 1]});
      run.steps.push_back(step);
    }
  }

  std::wstring folder_;
};

// --- spooler read-backs ------------------------------------------------------------------------

inline std::vector<std::wstring> InstalledPrinters() {
  std::vector<std::wstring> names;
  install::EnumerateInstalledPrinterNames(names);
  return names;
}

// Removes every queue and driver of the tool's models, so that each case starts alike.
inline void RemoveModelQueuesAndDrivers() {
  for (const auto& name : InstalledPrinters()) {
    if (name.rfind(L"TPR-", 0) != 0 && name.rfind(L"KTL-", 0) != 0) continue;
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSW access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, &access)) {
      DeletePrinter(printer);
      ClosePrinter(printer);
    }
  }
  for (const wchar_t* env : {L"Windows x64", L"Windows NT x86"}) {
    DWORD needed = 0, count = 0;
    EnumPrinterDriversW(nullptr, const_cast<wchar_t*>(env), 1, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 4);
    if (!EnumPrinterDriversW(nullptr, const_cast<wchar_t*>(env), 1, buffer.data(),
                             static_cast<DWORD>(buffer.size()), &needed, &count))
      continue;
    const auto* drivers = reinterpret_cast<const DRIVER_INFO_1W*>(buffer.data());
    std::vector<std::wstring> names;
    for (DWORD i = 0; i < count; ++i) names.push_back(drivers[i].pName);
    for (const auto& name : names)
      if (name.rfind(L"TPR-", 0) == 0 || name.rfind(L"KTL-", 0) == 0)
        DeletePrinterDriverW(nullptr, const_cast<wchar_t*>(env),
                             const_cast<wchar_t*>(name.c_str()));
  }
}

// Empties the files (not the version folders) of the spooler's driver directory.
inline void EmptyDriverDirectory(const std::wstring& directory) {
  for (const auto& name : Entries(directory))
    if (name.back() != L'\\') {
      SetFileAttributesW(Join(directory, name).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(Join(directory, name).c_str());
    }
}

inline std::set<std::wstring> FilesIn(const std::wstring& directory) {
  std::set<std::wstring> files;
  for (const auto& name : Entries(directory))
    if (name.back() != L'\\') files.insert(name);
  return files;
}

struct QueueState {
  bool exists = false;
  std::wstring port, driver, printProcessor, dataType;
  DWORD attributes = 0;
  // Level 3 of the queue's driver; file fields as bare names.
  DWORD driverVersion = 0;
  std::wstring driverName, environment, driverPath, dataFile, configFile, helpFile, defaultDataType,
      monitorName;
  std::vector<std::wstring> dependentFiles;
  std::map<std::wstring, DWORD> data;  // DWORD printer data that was found
};

inline std::wstring BareName(const wchar_t* path) {
  if (!path) return L"";
  std::wstring p = path;
  size_t slash = p.rfind(L'\\');
  return slash == std::wstring::npos ? p : p.substr(slash + 1);
}

inline QueueState ReadQueue(const std::wstring& name, const wchar_t* environment) {
  QueueState q;
  HANDLE printer = nullptr;
  if (!OpenPrinterW(const_cast<wchar_t*>(name.c_str()), &printer, nullptr)) return q;
  q.exists = true;
  DWORD needed = 0;
  GetPrinterW(printer, 2, nullptr, 0, &needed);
  std::vector<BYTE> info(needed + 4);
  if (GetPrinterW(printer, 2, info.data(), static_cast<DWORD>(info.size()), &needed)) {
    const auto* p = reinterpret_cast<const PRINTER_INFO_2W*>(info.data());
    q.port = p->pPortName ? p->pPortName : L"";
    q.driver = p->pDriverName ? p->pDriverName : L"";
    q.printProcessor = p->pPrintProcessor ? p->pPrintProcessor : L"";
    q.dataType = p->pDatatype ? p->pDatatype : L"";
    q.attributes = p->Attributes;
  }
  needed = 0;
  GetPrinterDriverW(printer, const_cast<wchar_t*>(environment), 3, nullptr, 0, &needed);
  std::vector<BYTE> driver(needed + 4);
  if (GetPrinterDriverW(printer, const_cast<wchar_t*>(environment), 3, driver.data(),
                        static_cast<DWORD>(driver.size()), &needed)) {
    const auto* d = reinterpret_cast<const DRIVER_INFO_3W*>(driver.data());
    q.driverVersion = d->cVersion;
    q.driverName = d->pName ? d->pName : L"";
    q.environment = d->pEnvironment ? d->pEnvironment : L"";
    q.driverPath = BareName(d->pDriverPath);
    q.dataFile = BareName(d->pDataFile);
    q.configFile = BareName(d->pConfigFile);
    q.helpFile = BareName(d->pHelpFile);
    q.defaultDataType = d->pDefaultDataType ? d->pDefaultDataType : L"";
    q.monitorName = d->pMonitorName ? d->pMonitorName : L"";
    for (const wchar_t* f = d->pDependentFiles; f && *f; f += wcslen(f) + 1)
      q.dependentFiles.push_back(BareName(f));
  }
  for (const wchar_t* value : {L"PrinterType", L"Language", L"Cutter", L"PaperSel"}) {
    DWORD type = 0, data = 0, size = 0;
    if (GetPrinterDataW(printer, const_cast<wchar_t*>(value), &type, reinterpret_cast<BYTE*>(&data),
                        sizeof data, &size) == ERROR_SUCCESS &&
        type == REG_DWORD && size == sizeof data)
      q.data[value] = data;
  }
  ClosePrinter(printer);
  return q;
}

inline std::wstring DefaultPrinter() {
  wchar_t name[512] = {};
  DWORD size = 512;
  return GetDefaultPrinterW(name, &size) ? name : L"";
}

}  // namespace installbed
