#include "install/windows_names.h"

#include <gtest/gtest.h>

#include <string>

#include "install/driver_installer.h"

using namespace install;

TEST(WindowsVersionName, ByMajorMinorAndBuild) {
  struct Case {
    unsigned major, minor, build;
    const char* expected;
  };
  const Case cases[] = {
      {5, 0, 2195, "Windows 2000"},   {5, 1, 2600, "Windows XP"},
      {5, 2, 3790, "Windows 2003"},   {5, 3, 0, "Unknow"},
      {6, 0, 6002, "Windows Vista"},  {6, 1, 7601, "Windows 7"},
      {6, 2, 9200, "Windows 8"},      {6, 3, 9600, "Windows 8.1"},
      {6, 4, 0, "Windows 8.1"},       {10, 0, 19045, "Windows 10"},
      {10, 0, 21999, "Windows 10"},   {10, 0, 22000, "Windows 11"},
      {10, 1, 14393, "Windows 10.1"}, {10, 1, 22631, "Windows 11"},
      {4, 0, 1381, "Unknow"},         {11, 0, 0, "Unknow"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.major) + "." + std::to_string(c.minor) + "." +
                 std::to_string(c.build));
    EXPECT_STREQ(WindowsVersionName(c.major, c.minor, c.build), c.expected);
  }
}

TEST(WindowsVersionName, IsTheListEntryItselfOrUnknow) {
  // The dialog finds the detected name in installer.windowsNames by pointer identity.
  DriverInstaller installer;
  int index = WindowsVersionIndex(10, 0, 22000);
  ASSERT_EQ(index, 9);
  EXPECT_EQ(WindowsVersionName(10, 0, 22000), installer.windowsNames[index]);
  EXPECT_EQ(WindowsVersionIndex(5, 3, 0), -1);
  EXPECT_EQ(WindowsVersionName(5, 3, 0), kUnknownWindows);
  DriverInstaller other;
  for (int i = 0; i < kWindowsNameCount; ++i) EXPECT_EQ(other.windowsNames[i], kWindowsNames[i]);
}

TEST(ArchitectureName, NativeArchitectureCodes) {
  EXPECT_STREQ(ArchitectureName(0), "x86");
  EXPECT_STREQ(ArchitectureName(6), "Intel Itanium-based");
  EXPECT_STREQ(ArchitectureName(9), "x64");
  EXPECT_STREQ(ArchitectureName(0xFFFF), "Unknown architecture");
  EXPECT_STREQ(ArchitectureName(12), "Unknown");  // ARM64 is not among the names
  EXPECT_STREQ(ArchitectureName(5), "Unknown");
}

TEST(DriverInstaller, StartsWithTheTablesBlankQueueNameAndLabelKind) {
  DriverInstaller installer;
  EXPECT_EQ(installer.printerName, std::wstring(53, L' '));
  EXPECT_TRUE(installer.labelKind);
  EXPECT_EQ(installer.modelNames[0], L"TPR-80C");
  EXPECT_EQ(installer.modelNames[9], L"TPR-90");
  EXPECT_EQ(installer.modelNames[10], L"");
  EXPECT_EQ(installer.resourceFiles[6], L"R90.DLL");
  EXPECT_EQ(installer.gpdFiles[6], L"R90.GPD");
  EXPECT_EQ(installer.resourceFiles[7], L"");
  EXPECT_EQ(installer.gpdFiles[19], L"");
  // A trailing C in a receipt name is the cutter model, whose GPD ends in C.
  for (int i = 0; i < kFirstLabelModel; ++i) {
    SCOPED_TRACE(i);
    bool cutter = installer.modelNames[i].back() == L'C';
    EXPECT_EQ(installer.gpdFiles[i].find(L"C.GPD") != std::wstring::npos, cutter);
  }
}
