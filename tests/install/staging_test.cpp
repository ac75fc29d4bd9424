#include "install/staging.h"

#include <gtest/gtest.h>

using namespace install;

TEST(ChooseInstallWay, ReceiptModelsClearTheLabelKindForGood) {
  bool labelKind = true;
  EXPECT_EQ(ChooseInstallWay(7, labelKind), InstallWay::Label);
  EXPECT_EQ(ChooseInstallWay(9, labelKind), InstallWay::Label);
  EXPECT_TRUE(labelKind);
  EXPECT_EQ(ChooseInstallWay(3, labelKind), InstallWay::Receipt);
  EXPECT_FALSE(labelKind);
  EXPECT_EQ(ChooseInstallWay(6, labelKind), InstallWay::Receipt);
  EXPECT_FALSE(labelKind);
}

TEST(DriverEnvironment, OnlyExactlyX64IsTheX64Environment) {
  EXPECT_STREQ(DriverEnvironment("x64"), L"Windows x64");
  for (const char* arch :
       {"x86", "Unknown", "Intel Itanium-based", "Unknown architecture", "", "X64", "x64 "}) {
    SCOPED_TRACE(arch);
    EXPECT_STREQ(DriverEnvironment(arch), L"Windows NT x86");
  }
  EXPECT_STREQ(DriverEnvironment(nullptr), L"Windows NT x86");
}

TEST(PackagePaths, ProgramFolderAndPackageFolders) {
  EXPECT_EQ(ProgramFolder(L"C:\\pkg\\Setup.exe"), L"C:\\pkg");
  EXPECT_EQ(ProgramFolder(L"C:\\Setup.exe"), L"C:");
  EXPECT_EQ(ProgramFolder(L"Setup.exe"), L"");
  EXPECT_EQ(PackageFolder(L"C:\\pkg", L"Windows x64", InstallWay::Receipt),
            L"C:\\pkg\\Windows x64");
  EXPECT_EQ(PackageFolder(L"C:\\pkg", L"Windows NT x86", InstallWay::Label),
            L"C:\\pkg\\KTL-400L (4inch)\\Windows NT x86");
}

TEST(SearchPattern, WithAndWithoutTrailingBackslash) {
  EXPECT_EQ(SearchPattern(L"C:\\pkg\\Windows x64"), L"C:\\pkg\\Windows x64\\*.*");
  EXPECT_EQ(SearchPattern(L"C:\\pkg\\Windows x64\\"), L"C:\\pkg\\Windows x64\\*.*");
  EXPECT_EQ(SearchPattern(L""), L"\\*.*");
}

TEST(ReceiptModelCopies, ResourceThenGpdFromRes) {
  auto copies = ReceiptModelCopies(L"C:\\pkg", L"Windows x64",
                                   L"C:\\windows\\system32\\spool\\drivers\\x64", 2);
  ASSERT_EQ(copies.size(), 2u);
  EXPECT_EQ(copies[0].source, L"C:\\pkg\\Windows x64\\RES\\R58.DLL");
  EXPECT_EQ(copies[0].target, L"C:\\windows\\system32\\spool\\drivers\\x64\\R58.DLL");
  EXPECT_EQ(copies[1].source, L"C:\\pkg\\Windows x64\\RES\\R58C.GPD");
  EXPECT_EQ(copies[1].target, L"C:\\windows\\system32\\spool\\drivers\\x64\\R58C.GPD");
  // A row without files names the RES folder itself, which cannot be copied.
  auto none = ReceiptModelCopies(L"C:\\pkg", L"Windows NT x86", L"D", 9);
  EXPECT_EQ(none[0].source, L"C:\\pkg\\Windows NT x86\\RES\\");
  EXPECT_EQ(none[1].target, L"D\\");
}

TEST(ReplaceTemplateName, EveryOccurrence) {
  EXPECT_EQ(ReplaceTemplateName(L"KTL-400L (4inch)RES.dll", L"KTL-200L (2inch)"),
            L"KTL-200L (2inch)RES.dll");
  EXPECT_EQ(ReplaceTemplateName(L"KTL-400L (4inch)-KTL-400L (4inch)", L"X"), L"X-X");
  EXPECT_EQ(ReplaceTemplateName(L"ktl-400l (4inch).dll", L"X"), L"ktl-400l (4inch).dll");
  EXPECT_EQ(ReplaceTemplateName(L"STDNAMES.GPD", L"X"), L"STDNAMES.GPD");
}

struct EntryCase {
  const wchar_t* entry;
  bool directory;
  bool labelKind;
  const wchar_t* printerName;
  StageAction action;
  const wchar_t* target;
};

TEST(PlanStagingEntry, ReceiptAndLabelWays) {
  const EntryCase cases[] = {
      // Receipt way: every file is copied as it is, also one without extension.
      {L"Receipt.ini", false, false, L"TPR-80C", StageAction::Copy, L"Receipt.ini"},
      {L"README", false, false, L"TPR-80C", StageAction::Copy, L"README"},
      {L"KTL-400L (4inch)UI.dll", false, false, L"TPR-80C", StageAction::Copy,
       L"KTL-400L (4inch)UI.dll"},
      {L"RES", true, false, L"TPR-80C", StageAction::Skip, L""},
      {L".", true, false, L"TPR-80C", StageAction::Skip, L""},
      {L"..", true, true, L"KTL-300L (3inch)", StageAction::Skip, L""},
      // Label way, 3 inch: renamed after the model, INI and GPD rewritten.
      {L"KTL-400L (4inch)UI.dll", false, true, L"KTL-300L (3inch)", StageAction::Copy,
       L"KTL-300L (3inch)UI.dll"},
      {L"KTL-400L (4inch).ini", false, true, L"KTL-300L (3inch)", StageAction::WriteIni,
       L"KTL-300L (3inch).ini"},
      {L"KTL-400L (4inch).gpd", false, true, L"KTL-300L (3inch)", StageAction::RewriteGpd,
       L"KTL-300L (3inch).gpd"},
      // The extension test is case-sensitive: these are copied unchanged.
      {L"STDNAMES.GPD", false, true, L"KTL-300L (3inch)", StageAction::Copy, L"STDNAMES.GPD"},
      {L"OEMSETUP.INI", false, true, L"KTL-300L (3inch)", StageAction::Copy, L"OEMSETUP.INI"},
      {L"UNIDRV.DLL", false, true, L"KTL-200L (2inch)", StageAction::Copy, L"UNIDRV.DLL"},
      // Any name ending in the three letters counts, with or without a dot.
      {L"mini", false, true, L"KTL-200L (2inch)", StageAction::WriteIni, L"mini"},
      {L"gpd", false, true, L"KTL-200L (2inch)", StageAction::RewriteGpd, L"gpd"},
      {L"pd", false, true, L"KTL-200L (2inch)", StageAction::Copy, L"pd"},
      // Label way, 4 inch: names stay, INI and GPD are still written afresh.
      {L"KTL-400L (4inch).ini", false, true, L"KTL-400L (4inch)", StageAction::WriteIni,
       L"KTL-400L (4inch).ini"},
      {L"KTL-400L (4inch)Drv.dll", false, true, L"KTL-400L (4inch)", StageAction::Copy,
       L"KTL-400L (4inch)Drv.dll"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::wstring(c.entry) + L" as " + c.printerName);
    StageStep step = PlanStagingEntry(c.entry, c.directory, c.labelKind, c.printerName);
    EXPECT_EQ(step.action, c.action);
    EXPECT_EQ(step.targetName, c.target);
  }
}
