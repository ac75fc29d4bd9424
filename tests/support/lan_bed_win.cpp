#include "support/lan_bed_win.h"

#include <windows.h>

#include <sstream>

#include "support/hex_bytes.h"
#include "support/host_win.h"

namespace testsupport {
namespace {

constexpr DWORD kCommandTimeoutMs = 10000;

std::string BedDir() {
  wchar_t value[1024];
  DWORD n = GetEnvironmentVariableW(L"LAN_BED_DIR", value, 1024);
  if (n == 0 || n >= 1024) return "";
  std::string dir;
  for (DWORD i = 0; i < n; ++i) dir += static_cast<char>(value[i]);
  return dir;
}

std::wstring BedPath(const std::string& relative) {
  return UnixPathToWindows(BedDir() + "/" + relative);
}

std::string ReadBedFile(const std::string& relative) {
  HANDLE file = CreateFileW(BedPath(relative).c_str(), GENERIC_READ,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string bytes;
  char buffer[4096];
  DWORD read = 0;
  while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
    bytes.append(buffer, read);
  CloseHandle(file);
  return bytes;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

bool WriteBedFile(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size();
  CloseHandle(file);
  return ok;
}

}  // namespace

bool LanBed::Active() { return !BedDir().empty(); }

std::string LanBed::Command(const std::string& line) {
  static unsigned sequence = 0;
  char name[64];
  wsprintfA(name, "control/%08lu-%08u", GetCurrentProcessId(), ++sequence);
  std::wstring temporary = BedPath(std::string(name) + ".tmp");
  if (!WriteBedFile(temporary, line + "\n")) return "cannot write the command file";
  // The simulator takes only complete .cmd files.
  if (!MoveFileExW(temporary.c_str(), BedPath(std::string(name) + ".cmd").c_str(),
                   MOVEFILE_REPLACE_EXISTING))
    return "cannot place the command file";
  DWORD start = GetTickCount();
  while (GetTickCount() - start < kCommandTimeoutMs) {
    std::string result = ReadBedFile(std::string(name) + ".done");
    if (!result.empty()) {
      DeleteFileW(BedPath(std::string(name) + ".done").c_str());
      while (!result.empty() && (result.back() == '\n' || result.back() == '\r')) result.pop_back();
      return result == "ok" ? "" : result;
    }
    Sleep(20);
  }
  return "no answer from the printer simulator to: " + line;
}

std::vector<std::string> LanBed::Events() {
  std::vector<std::string> events;
  for (const std::string& line : Lines(ReadBedFile("records/events.log"))) {
    size_t blank = line.find(' ');
    events.push_back(blank == std::string::npos ? line : line.substr(blank + 1));
  }
  return events;
}

std::vector<std::string> LanBed::Saves() { return Lines(ReadBedFile("records/saves.log")); }

std::string LanBed::LastReply(const std::string& address) {
  return Hex(ReadBedFile("records/reply-" + address + ".hex"));
}

std::string LanBed::RawPortBytes(const std::string& address) {
  return ReadBedFile("records/tcp-" + address + ".bin");
}

}  // namespace testsupport
