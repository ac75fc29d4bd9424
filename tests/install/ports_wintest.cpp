// Port registration and the spooler restart under Wine, against its registry and its Spooler
// service.
#include <gtest/gtest.h>

#include <map>

#include "install/ports.h"
#include "install/ports_win.h"
#include "tests/install/wine_bed_win.h"

using namespace installbed;

namespace {

struct Value {
  DWORD type;
  std::string bytes;
  bool operator==(const Value& o) const { return type == o.type && bytes == o.bytes; }
};

std::string Sz(const std::wstring& text) {
  std::string bytes;
  for (wchar_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes + std::string(2, '\0');
}

std::string Dword(DWORD v) { return std::string(reinterpret_cast<const char*>(&v), 4); }

std::map<std::wstring, Value> ValuesOf(HKEY root, const std::wstring& path) {
  std::map<std::wstring, Value> values;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    BYTE data[1024];
    DWORD nameSize = 256, dataSize = sizeof data, type = 0;
    if (RegEnumValueW(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS)
      break;
    values[name] = {type, std::string(reinterpret_cast<char*>(data), dataSize)};
  }
  RegCloseKey(key);
  return values;
}

DWORD SubKeyCount(HKEY root, const wchar_t* path) {
  HKEY key = nullptr;
  DWORD count = 0;
  if (RegOpenKeyExW(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return 0;
  RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr,
                   nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return count;
}

// The Spooler service's state and process: a restart is proven by a new process id.
struct SpoolerState {
  DWORD state = 0;
  DWORD processId = 0;
};

SpoolerState QuerySpooler() {
  SpoolerState s;
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = OpenServiceW(manager, L"Spooler", SERVICE_QUERY_STATUS | SERVICE_START);
  SERVICE_STATUS_PROCESS status = {};
  DWORD needed = 0;
  if (QueryServiceStatusEx(service, SC_STATUS_PROCESS_INFO, reinterpret_cast<BYTE*>(&status),
                           sizeof status, &needed)) {
    s.state = status.dwCurrentState;
    s.processId = status.dwProcessId;
  }
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return s;
}

void EnsureSpoolerRunning() {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = OpenServiceW(manager, L"Spooler", SERVICE_QUERY_STATUS | SERVICE_START);
  StartServiceW(service, 0, nullptr);
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  for (int i = 0; i < 200 && QuerySpooler().state != SERVICE_RUNNING; ++i) Sleep(25);
}

// Records every state the spooler passes through while an operation runs.
class SpoolerWatch {
 public:
  SpoolerWatch() {
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &SpoolerWatch::Run, this, 0, nullptr);
  }
  ~SpoolerWatch() { Finish(); }
  std::set<DWORD> Finish() {
    if (thread_) {
      SetEvent(stop_);
      WaitForSingleObject(thread_, 5000);
      CloseHandle(thread_);
      CloseHandle(stop_);
      thread_ = nullptr;
    }
    return seen_;
  }

 private:
  static DWORD WINAPI Run(void* self) {
    auto* watch = static_cast<SpoolerWatch*>(self);
    for (int i = 0; i < 20000 && WaitForSingleObject(watch->stop_, 5) == WAIT_TIMEOUT; ++i)
      watch->seen_.insert(QuerySpooler().state);
    return 0;
  }
  HANDLE stop_ = nullptr;
  HANDLE thread_ = nullptr;
  std::set<DWORD> seen_;
};

const wchar_t* const kPortKey =
    L"SYSTEM\\CurrentControlSet\\Control\\Print\\Monitors\\Standard TCP/IP Port\\Ports";

std::map<std::wstring, Value> TcpIpPort(DWORD version) {
  return {
      {L"HostName", {REG_SZ, Sz(L"192.168.1.100")}},
      {L"HWAddress", {REG_SZ, Sz(L"")}},
      {L"IPAddress", {REG_SZ, Sz(L"")}},
      {L"PortMonMibPortIndex", {REG_DWORD, Dword(0)}},
      {L"PortNumber", {REG_DWORD, Dword(9100)}},
      {L"Protocol", {REG_DWORD, Dword(1)}},
      {L"SNMP Community", {REG_SZ, Sz(L"harbor")}},
      {L"SNMP Enabled", {REG_DWORD, Dword(0)}},
      {L"SNMP Index", {REG_DWORD, Dword(1)}},
      {L"Version", {REG_DWORD, Dword(version)}},
  };
}

class PortsUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    // Windows has the standard TCP/IP port monitor's list; Wine has no such monitor.
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, kPortKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegCloseKey(key);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, (std::wstring(kPortKey) + L"\\192.168.1.100").c_str());
    EnsureSpoolerRunning();
  }
};

}  // namespace

TEST_F(PortsUnderWine, SerialLineSettingsThenTheSpoolerRestarts) {
  const SpoolerState before = QuerySpooler();
  ASSERT_EQ(before.state, static_cast<DWORD>(SERVICE_RUNNING));
  SpoolerWatch watch;
  install::SetSerialPortSettings(L"COM3:", L"115200");
  std::set<DWORD> seen = watch.Finish();

  auto values = ValuesOf(HKEY_LOCAL_MACHINE, install::kSerialPortsKey);
  ASSERT_TRUE(values.count(L"COM3:"));
  EXPECT_EQ(values[L"COM3:"], (Value{REG_SZ, Sz(L"115200,n,8,1")}));
  // Stopped and started again: the service went through a stopped state and runs in a new
  // process now.
  const SpoolerState after = QuerySpooler();
  EXPECT_EQ(after.state, static_cast<DWORD>(SERVICE_RUNNING));
  EXPECT_NE(after.processId, before.processId);
  EXPECT_TRUE(seen.count(SERVICE_STOPPED) || seen.count(SERVICE_STOP_PENDING));
}

TEST_F(PortsUnderWine, RestartReturnsWithinItsBoundEvenWhenTheSpoolerIsStopped) {
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE service = OpenServiceW(manager, L"Spooler", SERVICE_STOP);
  SERVICE_STATUS status = {};
  ControlService(service, SERVICE_CONTROL_STOP, &status);
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  for (int i = 0; i < 200 && QuerySpooler().state != SERVICE_STOPPED; ++i) Sleep(25);

  DWORD started = GetTickCount();
  install::RestartSpooler();  // "net stop" fails at once, "net start" starts it
  EXPECT_LT(GetTickCount() - started, 2 * install::kNetCommandWaitMs + 1000);
  EXPECT_EQ(QuerySpooler().state, static_cast<DWORD>(SERVICE_RUNNING));
}

TEST_F(PortsUnderWine, TcpIpPortHoldsTheTabledValuesOnceAndIsSetBackTo9100) {
  const SpoolerState before = QuerySpooler();
  install::RegisterTcpIpPort(L"192.168.1.100");
  const std::wstring port = std::wstring(kPortKey) + L"\\192.168.1.100";
  EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, port), TcpIpPort(2));  // the bed's Windows 10
  EXPECT_NE(QuerySpooler().processId, before.processId);

  // Another port number is set back; registering twice leaves one key.
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, port.c_str(), 0, KEY_WRITE, &key), ERROR_SUCCESS);
  DWORD other = 9000;
  RegSetValueExW(key, L"PortNumber", 0, REG_DWORD, reinterpret_cast<BYTE*>(&other), 4);
  RegCloseKey(key);
  install::RegisterTcpIpPort(L"192.168.1.100");
  EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, port), TcpIpPort(2));
  EXPECT_EQ(SubKeyCount(HKEY_LOCAL_MACHINE, kPortKey), 1u);
}

TEST_F(PortsUnderWine, TcpIpPortVersionIsOneOnWindowsXp) {
  // Wine reports Windows XP to the program named Setup.exe.
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Setup.exe", 0, nullptr, 0,
                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
  RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"winxp"), 12);
  RegCloseKey(key);
  ToolFolder tool(L"xp");
  InstallStep step = {0, 0, false, "192.168.1.100"};
  step.kind = InstallStep::TcpIpPort;
  ChildRun run = tool.Run({step});
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\Setup.exe");
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, std::wstring(kPortKey) + L"\\192.168.1.100"),
            TcpIpPort(1));
}

TEST_F(PortsUnderWine, EmptyAddressRegistersNothing) {
  const auto listBefore = ValuesOf(HKEY_LOCAL_MACHINE, kPortKey);
  const DWORD keysBefore = SubKeyCount(HKEY_LOCAL_MACHINE, kPortKey);
  install::RegisterTcpIpPort(L"");
  EXPECT_EQ(ValuesOf(HKEY_LOCAL_MACHINE, kPortKey), listBefore);
  EXPECT_EQ(SubKeyCount(HKEY_LOCAL_MACHINE, kPortKey), keysBefore);
}
