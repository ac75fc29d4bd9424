// The Wine test bed itself: host commands, path conversion, and the Windows version and
// interface language a started program sees.
#include <gtest/gtest.h>
#include <windows.h>

#include "support/host_win.h"
#include "support/sample_dialog/sample_dialog_ids.h"
#include "support/ui_driver_win.h"
#include "support/windows_version_win.h"

namespace testsupport {
namespace {

TEST(HostCommands, RunCollectsOutputAndStatus) {
  HostResult r = RunHost("echo out; echo err >&2; printf '\\344\\270\\255'; exit 3");
  EXPECT_TRUE(r.finished);
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_EQ(r.output, "out\nerr\n\xE4\xB8\xAD");

  // The bed's environment reaches the command.
  r = RunHost("test -d \"$WINEPREFIX/dosdevices\" && echo \"$DISPLAY\"");
  EXPECT_EQ(r.exitCode, 0) << r.output;
  EXPECT_NE(r.output, "\n");
}

TEST(HostCommands, TimeOutStopsTheWholeCommand) {
  const DWORD begin = GetTickCount();
  HostResult r = RunHost("sleep 30", 500);
  EXPECT_FALSE(r.finished);
  EXPECT_EQ(r.exitCode, -1);
  EXPECT_LT(GetTickCount() - begin, 5000u);

  // Stop() reaches children of the command too (it runs in a process group of its own).
  HostProcess p = StartHost("sleep 60 & sleep 60 & echo started; wait");
  ASSERT_TRUE(p.WaitForOutput("started", 5000)) << p.Output();
  const long group = p.Pid();
  ASSERT_GT(group, 0);
  EXPECT_TRUE(p.Running());
  p.Stop();
  EXPECT_FALSE(p.Running());
  EXPECT_EQ(p.ExitCode(), 128 + 15);
  EXPECT_NE(RunHost("kill -0 -- -" + std::to_string(group) + " 2>/dev/null").exitCode, 0);
}

TEST(HostCommands, WaitsForOutputAndEnd) {
  HostProcess p = StartHost("echo ready; sleep 1; echo done");
  EXPECT_TRUE(p.WaitForOutput("ready", 5000));
  EXPECT_TRUE(p.Wait(5000));
  EXPECT_EQ(p.ExitCode(), 0);
  EXPECT_EQ(p.Output(), "ready\ndone\n");
  EXPECT_FALSE(p.WaitForOutput("never", 100));
}

TEST(HostPaths, ConvertBothWays) {
  EXPECT_TRUE(IsWine());
  EXPECT_EQ(UnixPathToWindows("/tmp"), L"Z:\\tmp");
  // Wine answers with the prefix's drive link, e.g. $WINEPREFIX/dosdevices/c:/windows.
  std::string windowsDir = WindowsPathToUnix(L"C:\\windows");
  EXPECT_EQ(RunHost("test -f " + ShellQuote(windowsDir + "/win.ini")).exitCode, 0) << windowsDir;
  EXPECT_EQ(WindowsPathToUnix(UnixPathToWindows(SourceDirUnix())), SourceDirUnix());
  EXPECT_EQ(ShellQuote("it's"), "'it'\\''s'");
  EXPECT_EQ(RunHost("printf %s " + ShellQuote("a 'b' $c")).output, "a 'b' $c");
}

struct VersionCase {
  const wchar_t* name;
  const wchar_t* reported;  // major.minor.build as GetVersionExW gives it
};
const VersionCase kVersions[] = {
    {L"win2k", L"5.0.2195"}, {L"winxp", L"5.1.2600"},   {L"win2003", L"5.2.3790"},
    {L"vista", L"6.0.6002"}, {L"win7", L"6.1.7601"},    {L"win8", L"6.2.9200"},
    {L"win81", L"6.3.9600"}, {L"win10", L"10.0.18362"}, {L"win11", L"10.0.22000"},
    {L"", L"10.0.18362"},  // the bed's default
};

TEST(WindowsVersion, EachNameIsWhatTheProgramSees) {
  for (const VersionCase& c : kVersions) {
    SCOPED_TRACE(Narrow(c.name));
    Tool dlg = Tool::Start({.windows = c.name, .exe = SampleDialogExeUnix()});
    const std::wstring line = dlg.Text(IDC_SYSTEM);
    EXPECT_EQ(line.substr(0, line.find(L' ')), c.reported) << Narrow(line);
  }
  EXPECT_FALSE(SetWindowsVersion(L"win95", L"x.exe").ok());
}

std::wstring ReadString(HKEY root, const wchar_t* key, const wchar_t* name) {
  wchar_t value[64] = L"";
  DWORD size = sizeof value - sizeof(wchar_t);
  HKEY h = nullptr;
  LONG rc = RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE, &h);
  if (rc == ERROR_SUCCESS) {
    rc = RegQueryValueExW(h, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
    RegCloseKey(h);
  }
  return rc == ERROR_SUCCESS ? std::wstring(value) : std::wstring(L"(none)");
}

// Windows 11 changes the prefix's own version values; they come back afterwards, and the
// per-program value is back too.
TEST(WindowsVersion, OverridesAreRestored) {
  const wchar_t* nt = L"Software\\Microsoft\\Windows NT\\CurrentVersion";
  const wchar_t* app = L"Software\\Wine\\AppDefaults\\sample_dialog.exe";
  const std::wstring build = ReadString(HKEY_LOCAL_MACHINE, nt, L"CurrentBuildNumber");
  {
    WindowsVersionOverride xp = SetWindowsVersion(L"winxp", L"sample_dialog.exe");
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, app, L"Version"), L"winxp");
    {
      WindowsVersionOverride eleven = SetWindowsVersion(L"win11", L"sample_dialog.exe");
      ASSERT_TRUE(eleven.ok());
      EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, nt, L"CurrentBuildNumber"), L"22000");
      EXPECT_EQ(ReadString(HKEY_CURRENT_USER, app, L"Version"), L"(none)");
    }
    EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, nt, L"CurrentBuildNumber"), build);
    EXPECT_EQ(ReadString(HKEY_CURRENT_USER, app, L"Version"), L"winxp");
  }
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, app, L"Version"), L"(none)");
}

struct LanguageCase {
  const wchar_t* locale;
  const wchar_t* uiLanguage;
  const wchar_t* caption;
};
const LanguageCase kLanguages[] = {
    {L"en_US", L"ui=0409", L"Sample dialog"},
    {L"zh_CN", L"ui=0804", L"示例对话框"},
    {L"ja_JP", L"ui=0411", L"サンプルダイアログ"},
    {L"zh_TW", L"ui=0404", L"Sample dialog"},
};

TEST(Language, EachLocaleIsTheProgramsInterfaceLanguage) {
  for (const LanguageCase& c : kLanguages) {
    SCOPED_TRACE(Narrow(c.locale));
    Tool dlg = Tool::Start({.language = c.locale, .exe = SampleDialogExeUnix()});
    const std::wstring line = dlg.Text(IDC_SYSTEM);
    EXPECT_NE(line.find(c.uiLanguage), std::wstring::npos) << Narrow(line);
    EXPECT_EQ(dlg.Caption(), c.caption);
    dlg.Screenshot("bed-sample-" + Narrow(c.locale));
  }
}

}  // namespace
}  // namespace testsupport
