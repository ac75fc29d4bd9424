#include "install/registration.h"

#include <gtest/gtest.h>

#include "install/model_table.h"

using namespace install;

namespace {

std::vector<std::wstring> ReceiptList(const wchar_t* resource) {
  return {L"Receipt.ini",   L"ReceiptDrv.dll", L"ReceiptUI.dll", L"QVCHISMPL.DLL", L"QVCHITRAD.DLL",
          L"QVENGLISH.DLL", L"TTFSUB.GPD",     L"STDNAMES.GPD",  L"UNIRES.DLL",    resource};
}

std::vector<std::wstring> LabelList(const std::wstring& m) {
  return {m + L".ini",      L"UNIRES.DLL",    m + L"RES.dll",  m + L".gpd",
          m + L"UI.dll",    m + L"Drv.dll",   L"STDNAMES.GPD", L"QVCHISMPL.DLL",
          L"QVCHITRAD.DLL", L"QVENGLISH.DLL", L"SupportUI.dll"};
}

}  // namespace

TEST(DependentFiles, EveryRowBothWays) {
  const wchar_t* receiptResource[kModelCount] = {L"R80.dll", L"R80.dll", L"R58.dll", L"R58.dll",
                                                 L"R76.dll", L"R76.dll", L"R80.dll", L"R80.dll",
                                                 L"R80.dll", L"R80.dll"};
  for (int i = 0; i < kModelCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(DependentFiles(i, InstallWay::Receipt), ReceiptList(receiptResource[i]));
    std::vector<std::wstring> label;
    if (i >= 6 && i <= 8) label = LabelList(kModelTable[i].name);
    EXPECT_EQ(DependentFiles(i, InstallWay::Label), label);
  }
  EXPECT_EQ(DependentFiles(7, InstallWay::Label)[4], L"KTL-300L (3inch)UI.dll");
}

TEST(MultiString, ZeroSeparatedWithExtraZero) {
  EXPECT_EQ(MultiString({L"a.ini", L"b"}), std::wstring(L"a.ini\0b\0\0", 9));
  EXPECT_EQ(MultiString({}), std::wstring(L"\0", 1));
}

TEST(DescribeDriver, BothWaysFieldsAndLetterCasesForEveryRow) {
  struct WayCase {
    InstallWay way;
    const wchar_t* environment;
    const wchar_t* driverPath;
    const wchar_t* configFile;
    const wchar_t* helpFile;
    bool hasDefaultDataType;
  };
  const WayCase ways[] = {
      {InstallWay::Receipt, L"Windows x64", L"uniDRV.DLL", L"uniDRVUI.DLL", L"uniDRV.HLP", true},
      {InstallWay::Label, L"Windows NT x86", L"UNIDRV.dll", L"UNIDRVUI.dll", L"UNIDRV.HLP", false},
  };
  for (const auto& w : ways) {
    for (int i = 0; i < kModelCount; ++i) {
      SCOPED_TRACE(std::to_string(i) + (w.way == InstallWay::Label ? " label" : " receipt"));
      const std::wstring model = kModelTable[i].name;
      DriverDescription d = DescribeDriver(i, w.way, w.environment, model);
      EXPECT_EQ(d.version, 3u);
      EXPECT_EQ(d.name, model);
      EXPECT_EQ(d.environment, w.environment);
      EXPECT_EQ(d.driverPath, w.driverPath);
      EXPECT_EQ(d.dataFile, w.way == InstallWay::Label ? model + L".gpd" : kModelTable[i].gpdFile);
      EXPECT_EQ(d.configFile, w.configFile);
      EXPECT_EQ(d.helpFile, w.helpFile);
      EXPECT_EQ(d.dependentFiles, DependentFiles(i, w.way));
      EXPECT_EQ(d.hasDefaultDataType, w.hasDefaultDataType);
      EXPECT_EQ(d.defaultDataType, w.hasDefaultDataType ? L"RAW" : L"");
    }
  }
  EXPECT_EQ(DescribeDriver(0, InstallWay::Receipt, L"Windows NT x86", L"").dataFile, L"R80C.GPD");
  // The label data file follows the queue name in progress, which is still the model name.
  EXPECT_EQ(DescribeDriver(8, InstallWay::Label, L"Windows x64", L"KTL-200L (2inch)").dataFile,
            L"KTL-200L (2inch).gpd");
}

TEST(DescribePrinter, LocalRawQueueOnThePort) {
  PrinterDescription p = DescribePrinter(L"TPR-80C (copy 1)", L"COM3:", 0);
  EXPECT_EQ(p.printerName, L"TPR-80C (copy 1)");
  EXPECT_EQ(p.portName, L"COM3:");
  EXPECT_EQ(p.driverName, L"TPR-80C");
  EXPECT_EQ(p.printProcessor, L"WinPrint");
  EXPECT_EQ(p.dataType, L"RAW");
  EXPECT_EQ(p.attributes, 0x40ul);
  EXPECT_EQ(DescribePrinter(L"q", L"USB001", 8).driverName, L"KTL-200L (2inch)");
}

TEST(PrinterDataValues, PerModelWayAndLanguage) {
  struct Case {
    int model;
    InstallWay way;
    common::LangId language;
    std::vector<std::pair<std::wstring, unsigned long>> expected;
  };
  const Case cases[] = {
      {3,
       InstallWay::Receipt,
       0x0409,
       {{L"PrinterType", 1}, {L"Language", 2}, {L"Cutter", 0}, {L"PaperSel", 6}}},
      {2,
       InstallWay::Receipt,
       0x0804,
       {{L"PrinterType", 1}, {L"Language", 0}, {L"Cutter", 1}, {L"PaperSel", 6}}},
      {0,
       InstallWay::Receipt,
       0x0411,
       {{L"PrinterType", 1}, {L"Language", 2}, {L"Cutter", 1}, {L"PaperSel", 6}}},
      {1,
       InstallWay::Receipt,
       0x0409,
       {{L"PrinterType", 1}, {L"Language", 2}, {L"Cutter", 0}, {L"PaperSel", 6}}},
      {4,
       InstallWay::Receipt,
       0x0409,
       {{L"PrinterType", 1}, {L"Language", 2}, {L"Cutter", 1}, {L"PaperSel", 6}}},
      {5,
       InstallWay::Receipt,
       0x0409,
       {{L"PrinterType", 1}, {L"Language", 2}, {L"Cutter", 0}, {L"PaperSel", 6}}},
      // Rows above 5 on the receipt way count as cutter models.
      {9,
       InstallWay::Receipt,
       0x0409,
       {{L"PrinterType", 1}, {L"Language", 2}, {L"Cutter", 1}, {L"PaperSel", 6}}},
      {6, InstallWay::Label, 0x0804, {{L"PrinterType", 0}, {L"Language", 0}}},
      {8, InstallWay::Label, 0x0404, {{L"PrinterType", 0}, {L"Language", 2}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.model);
    std::vector<std::pair<std::wstring, unsigned long>> got;
    for (const auto& v : PrinterDataValues(c.model, c.way, c.language))
      got.emplace_back(v.name, v.value);
    EXPECT_EQ(got, c.expected);
  }
}

TEST(StagedFilesToRemove, ModelFilesThenUnidrvFilesFromTheDriverDirectoryItself) {
  EXPECT_EQ(StagedFilesToRemove(L"C:\\spool\\drivers\\x64", 4),
            (std::vector<std::wstring>{
                L"C:\\spool\\drivers\\x64\\R76.DLL", L"C:\\spool\\drivers\\x64\\R76C.GPD",
                L"C:\\spool\\drivers\\x64\\UNIDRV.DLL", L"C:\\spool\\drivers\\x64\\UNIDRVUI.DLL",
                L"C:\\spool\\drivers\\x64\\UNIRES.DLL", L"C:\\spool\\drivers\\x64\\UNIDRV.HLP",
                L"C:\\spool\\drivers\\x64\\TTFSUB.GPD", L"C:\\spool\\drivers\\x64\\STDNAMES.GPD"}));
}
