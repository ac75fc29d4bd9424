#include "support/host_win.h"

#include <cstdlib>
#include <vector>

#ifndef SOURCE_DIR_UNIX
#error "the build defines SOURCE_DIR_UNIX and BINARY_DIR_UNIX for the Wine test support"
#endif

namespace testsupport {
namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                              nullptr, nullptr);
  std::string out(n, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n, nullptr,
                      nullptr);
  return out;
}

// The file's bytes; empty when it does not exist (yet).
std::string ReadWholeFile(const std::wstring& path) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
  CloseHandle(f);
  return bytes;
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Starts a Unix program through Wine; Wine gives back no handle, so this only says whether it
// was started. Standard input and output are the NUL device.
bool LaunchUnix(const std::wstring& program, const std::wstring& commandLine) {
  SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
  HANDLE nul = CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = si.hStdOutput = si.hStdError = nul;
  PROCESS_INFORMATION pi = {};
  std::wstring line = commandLine;
  BOOL ok = CreateProcessW(program.c_str(), &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                           &si, &pi);
  if (pi.hProcess) CloseHandle(pi.hProcess);
  if (pi.hThread) CloseHandle(pi.hThread);
  if (nul != INVALID_HANDLE_VALUE) CloseHandle(nul);
  return ok != FALSE;
}

void SendSignal(const char* signal, long pid) {
  if (pid <= 0) return;
  std::string kill = std::string("exec >/dev/null 2>&1; kill -") + signal + " -- -" +
                     std::to_string(pid) + " || kill -" + signal + " " + std::to_string(pid);
  LaunchUnix(L"Z:\\bin\\sh", L"/bin/sh -c \"" + WideFromUtf8(kill) + L"\"");
}

std::wstring NewWorkFolder() {
  static LONG counter = 0;
  wchar_t temp[MAX_PATH];
  DWORD n = GetTempPathW(MAX_PATH, temp);
  std::wstring base = (n > 0 && n < MAX_PATH) ? std::wstring(temp, n) : std::wstring(L"C:\\");
  for (;;) {
    std::wstring dir = base + L"host-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                       std::to_wstring(InterlockedIncrement(&counter));
    if (CreateDirectoryW(dir.c_str(), nullptr)) return dir;
    if (GetLastError() != ERROR_ALREADY_EXISTS) return std::wstring();
  }
}

}  // namespace

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return std::wstring();
  int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(n, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
}

bool WriteWholeFile(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
  return ok && written == bytes.size();
}

std::string SourceDirUnix() { return SOURCE_DIR_UNIX; }
std::string BinaryDirUnix() { return BINARY_DIR_UNIX; }

bool IsWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

std::wstring UnixPathToWindows(const std::string& unixPath) {
  using ToDos = WCHAR*(CDECL*)(const char*);
  auto toDos = reinterpret_cast<ToDos>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_dos_file_name")));
  if (toDos) {
    if (WCHAR* dos = toDos(unixPath.c_str())) {
      std::wstring result(dos);
      HeapFree(GetProcessHeap(), 0, dos);
      return result;
    }
  }
  std::wstring path = L"Z:" + WideFromUtf8(unixPath);
  for (auto& c : path) {
    if (c == L'/') c = L'\\';
  }
  return path;
}

std::string WindowsPathToUnix(const std::wstring& windowsPath) {
  using ToUnix = char*(CDECL*)(const WCHAR*);
  auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (toUnix) {
    if (char* unix = toUnix(windowsPath.c_str())) {
      std::string result(unix);
      HeapFree(GetProcessHeap(), 0, unix);
      return result;
    }
  }
  std::string path = Utf8(windowsPath);
  if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':') path.erase(0, 2);
  for (auto& c : path) {
    if (c == '\\') c = '/';
  }
  return path;
}

std::string ShellQuote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

struct HostProcess::State {
  std::wstring dir;  // Windows path of the work folder
  bool started = false;
  mutable long pid = 0;

  std::wstring File(const wchar_t* name) const { return dir + L"\\" + name; }
  bool Ended() const { return FileExists(File(L"status")); }
  long ReadPid() const {
    if (pid == 0) pid = std::atol(ReadWholeFile(File(L"pid")).c_str());
    return pid;
  }
  ~State() {
    for (const wchar_t* name : {L"cmd.sh", L"run.sh", L"out", L"pid", L"status"}) {
      DeleteFileW(File(name).c_str());
    }
    RemoveDirectoryW(dir.c_str());
  }
};

HostProcess::HostProcess() = default;
HostProcess::HostProcess(HostProcess&&) noexcept = default;
HostProcess& HostProcess::operator=(HostProcess&& other) noexcept {
  if (this != &other) {
    Stop();
    state_ = std::move(other.state_);
  }
  return *this;
}
HostProcess::~HostProcess() { Stop(); }

bool HostProcess::Started() const { return state_ && state_->started; }

long HostProcess::Pid() const {
  if (!Started()) return 0;
  // The wrapper writes the id right after starting the command.
  for (int i = 0; i < 250 && state_->ReadPid() == 0 && !state_->Ended(); ++i) Sleep(20);
  return state_->ReadPid();
}

bool HostProcess::Running() const { return Started() && !state_->Ended(); }

bool HostProcess::Wait(DWORD timeoutMs) {
  if (!Started()) return false;
  const DWORD begin = GetTickCount();
  while (!state_->Ended()) {
    if (GetTickCount() - begin >= timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

bool HostProcess::WaitForOutput(const std::string& text, DWORD timeoutMs) {
  if (!Started()) return false;
  const DWORD begin = GetTickCount();
  for (;;) {
    bool ended = state_->Ended();  // read before the output: a last line is then not missed
    if (Output().find(text) != std::string::npos) return true;
    if (ended || GetTickCount() - begin >= timeoutMs) return false;
    Sleep(20);
  }
}

std::string HostProcess::Output() const {
  return state_ ? ReadWholeFile(state_->File(L"out")) : std::string();
}

int HostProcess::ExitCode() const {
  if (!Started() || !state_->Ended()) return -1;
  return std::atoi(ReadWholeFile(state_->File(L"status")).c_str());
}

void HostProcess::Stop(DWORD graceMs) {
  if (!Running()) return;
  long pid = Pid();
  SendSignal("TERM", pid);
  if (Wait(graceMs)) return;
  SendSignal("KILL", pid);
  Wait(2000);
}

HostProcess StartHost(const std::string& shellCommand) {
  HostProcess process;
  process.state_.reset(new HostProcess::State);
  HostProcess::State& s = *process.state_;
  s.dir = NewWorkFolder();
  if (s.dir.empty()) return process;
  const std::string d = WindowsPathToUnix(s.dir);
  auto at = [&](const char* name) { return ShellQuote(d + "/" + name); };
  // The command runs in a session of its own, so that Stop() reaches everything it started;
  // the id and the status are renamed into place so that a reader never sees half a file.
  const std::string wrapper = "exec </dev/null >>" + at("out") + " 2>&1\n" + "setsid /bin/sh " +
                              at("cmd.sh") + " &\n" + "echo $! >" + at("pid.tmp") + " && mv " +
                              at("pid.tmp") + " " + at("pid") + "\n" + "wait $!\n" + "echo $? >" +
                              at("status.tmp") + " && mv " + at("status.tmp") + " " + at("status") +
                              "\n";
  if (!WriteWholeFile(s.File(L"cmd.sh"), shellCommand + "\n") ||
      !WriteWholeFile(s.File(L"run.sh"), wrapper)) {
    return process;
  }
  s.started = LaunchUnix(L"Z:\\bin\\sh", L"/bin/sh \"" + WideFromUtf8(d) + L"/run.sh\"");
  return process;
}

HostResult RunHost(const std::string& shellCommand, DWORD timeoutMs) {
  HostResult result;
  HostProcess process = StartHost(shellCommand);
  if (!process.Started()) return result;
  result.finished = process.Wait(timeoutMs);
  if (!result.finished) process.Stop();
  result.exitCode = result.finished ? process.ExitCode() : -1;
  result.output = process.Output();
  return result;
}

}  // namespace testsupport
