// The install operation end to end under Wine, against its real spooler, registry and driver
// directory. Each case runs the installer in a child process whose folder is laid out like the
// tool's (the program folder decides where the package is read) and whose Unix locale gives the
// Windows interface language.
#include <gtest/gtest.h>

#include <sstream>

#include "classlib/message_box_win.h"
#include "install/driver_installer.h"
#include "install/label_files.h"
#include "install/model_table.h"
#include "install/ports_win.h"
#include "install/registration.h"
#include "support/port_registry_win.h"
#include "tests/install/wine_bed_win.h"

using namespace installbed;

// The child's side: runs the steps of INSTALL_CHILD_STEPS and writes what happened.
TEST(DISABLED_InstallChild, Run) {
  wchar_t stepsText[4096] = {}, resultPath[1024] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"INSTALL_CHILD_STEPS", stepsText, 4096), 0u);
  ASSERT_GT(GetEnvironmentVariableW(L"INSTALL_CHILD_RESULT", resultPath, 1024), 0u);
  install::DriverInstaller installer;
  std::wstring out =
      std::to_wstring(GetUserDefaultUILanguage()) + kRecord + classlib::AppCaption() + kRecord;
  std::wstringstream steps(stepsText);
  for (std::wstring step; std::getline(steps, step, L';');) {
    if (step.empty()) continue;
    std::vector<std::wstring> f;
    std::wstringstream fields(step);
    for (std::wstring field; std::getline(fields, field, L',');) f.push_back(field);
    ASSERT_EQ(f.size(), 6u);
    const int osChoice = std::stoi(f[1]), model = std::stoi(f[2]);
    const std::string port = classlib::WideToAnsi(f[4]);
    const std::string arch = classlib::WideToAnsi(f[5]);
    bool done = false;
    std::vector<CaughtBox> boxes;
    {
      MessageBoxCatcher catcher;
      if (f[0] == L"T") {
        install::RegisterTcpIpPort(f[4]);
        done = true;
      } else if (arch == "-") {
        done = installer.InstallPrinter(osChoice, model, f[3] == L"1", port);
      } else {
        installer.printerName = installer.modelNames[model];
        done = installer.InstallDriverAndQueue(osChoice, arch.c_str(), model, port);
      }
      boxes = catcher.Boxes();
    }
    out += std::wstring(done ? L"1" : L"0") + kField + installer.printerName;
    for (const auto& box : boxes) out += kField + box.caption + kField + box.text;
    out += kRecord;
  }
  std::string bytes;
  for (wchar_t c : out) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  const std::wstring partial = std::wstring(resultPath) + L".part";
  WriteBytes(partial, bytes);
  MoveFileExW(partial.c_str(), resultPath, MOVEFILE_REPLACE_EXISTING);
}

namespace {

const wchar_t* const kX64 = L"Windows x64";
const wchar_t* const kX86 = L"Windows NT x86";

std::vector<std::wstring> Texts(const StepResult& step) {
  std::vector<std::wstring> texts;
  for (const auto& box : step.boxes) texts.push_back(box.text);
  return texts;
}

// The queue and its driver as the spooler reports them, every field, against the values the
// tool hands over (file fields as bare names; letter cases as given).
struct ExpectedQueue {
  const wchar_t* port;
  const wchar_t* driver;
  const wchar_t* environment;
  const wchar_t* driverPath;
  const wchar_t* dataFile;
  const wchar_t* configFile;
  const wchar_t* helpFile;
  const wchar_t* defaultDataType;
  std::vector<std::wstring> dependentFiles;
  std::map<std::wstring, DWORD> data;
};

void ExpectQueue(const QueueState& q, const ExpectedQueue& e) {
  ASSERT_TRUE(q.exists);
  EXPECT_EQ(q.port, e.port);
  EXPECT_EQ(q.driver, e.driver);
  EXPECT_EQ(q.printProcessor, L"WinPrint");
  EXPECT_EQ(q.dataType, L"RAW");
  EXPECT_EQ(q.attributes, 0x40u);
  EXPECT_EQ(q.driverVersion, 3u);
  EXPECT_EQ(q.driverName, e.driver);
  EXPECT_EQ(q.environment, e.environment);
  EXPECT_EQ(q.driverPath, e.driverPath);
  EXPECT_EQ(q.dataFile, e.dataFile);
  EXPECT_EQ(q.configFile, e.configFile);
  EXPECT_EQ(q.helpFile, e.helpFile);
  EXPECT_EQ(q.monitorName, L"");
  EXPECT_EQ(q.defaultDataType, e.defaultDataType);
  EXPECT_EQ(q.dependentFiles, e.dependentFiles);
  EXPECT_EQ(q.data, e.data);
}

class InstallUnderWine : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveModelQueuesAndDrivers();
    x64Directory = install::PrinterDriverDirectory(kX64);
    x86Directory = install::PrinterDriverDirectory(kX86);
    ASSERT_FALSE(x64Directory.empty());
    ASSERT_FALSE(x86Directory.empty());
    EmptyDriverDirectory(x64Directory);
    EmptyDriverDirectory(x86Directory);
  }
  void TearDown() override { RemoveModelQueuesAndDrivers(); }

  std::wstring x64Directory, x86Directory;
};

}  // namespace

// --- end to end ----------------------------------------------------------------------------------

TEST_F(InstallUnderWine, ReceiptModelOnX64StagesRegistersCreatesTheQueueAndSetsTheDefault) {
  ToolFolder tool(L"receipt");
  tool.AddWholePackage();
  ChildRun run = tool.Run({{0, 0, true, "COM3:"}});
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.steps.size(), 1u);
  const StepResult& step = run.steps[0];
  EXPECT_TRUE(step.installed);
  EXPECT_EQ(step.printerName, L"TPR-80C");
  EXPECT_TRUE(step.boxes.empty());

  ExpectQueue(ReadQueue(L"TPR-80C", kX64),
              {L"COM3:",
               L"TPR-80C",
               kX64,
               L"uniDRV.DLL",
               L"R80C.GPD",
               L"uniDRVUI.DLL",
               L"uniDRV.HLP",
               L"RAW",
               install::DependentFiles(0, install::InstallWay::Receipt),
               {{L"PrinterType", 1}, {L"Language", 2}, {L"Cutter", 1}, {L"PaperSel", 6}}});
  // The staged copies the install removes are gone; the other shared files stay.
  EXPECT_EQ(FilesIn(x64Directory),
            (std::set<std::wstring>{L"QVCHISMPL.DLL", L"QVCHITRAD.DLL", L"QVENGLISH.DLL",
                                    L"Receipt.ini", L"ReceiptDrv.dll", L"ReceiptUI.dll"}));
  EXPECT_EQ(DefaultPrinter(), L"TPR-80C");
}

TEST_F(InstallUnderWine, LabelModelIsStagedUnderItsOwnName) {
  ToolFolder tool(L"label");
  tool.AddPackageFolder(L"KTL-400L (4inch)");
  ChildRun run = tool.Run({{0, 7, false, "USB001"}});
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.steps.size(), 1u);
  EXPECT_TRUE(run.steps[0].installed);
  EXPECT_EQ(run.steps[0].printerName, L"KTL-300L (3inch)");
  EXPECT_TRUE(run.steps[0].boxes.empty());

  const std::wstring package = SourcePackage() + L"\\KTL-400L (4inch)\\Windows x64";
  std::set<std::wstring> expected;
  for (const auto& name : Entries(package))
    expected.insert(install::ReplaceTemplateName(name, L"KTL-300L (3inch)"));
  // Nothing is removed on the label way.
  EXPECT_EQ(FilesIn(x64Directory), expected);
  EXPECT_EQ(ReadBytes(x64Directory + L"\\KTL-300L (3inch).ini"),
            "[OEMFiles]\r\nOEMDriverFile1=KTL-300L (3inch)Drv.dll\r\n"
            "OEMConfigFile1=KTL-300L (3inch)UI.dll\r\n");
  EXPECT_EQ(ReadBytes(x64Directory + L"\\KTL-300L (3inch).gpd"),
            install::RewriteLabelGpd(ReadBytes(package + L"\\KTL-400L (4inch).gpd"),
                                     "KTL-300L (3inch).gpd", "KTL-300L (3inch)"));
  EXPECT_EQ(ReadBytes(x64Directory + L"\\KTL-300L (3inch)UI.dll"),
            ReadBytes(package + L"\\KTL-400L (4inch)UI.dll"));
  EXPECT_EQ(ReadBytes(x64Directory + L"\\STDNAMES.GPD"), ReadBytes(package + L"\\STDNAMES.GPD"));

  ExpectQueue(ReadQueue(L"KTL-300L (3inch)", kX64),
              {L"USB001",
               L"KTL-300L (3inch)",
               kX64,
               L"UNIDRV.dll",
               L"KTL-300L (3inch).gpd",
               L"UNIDRVUI.dll",
               L"UNIDRV.HLP",
               L"",
               install::DependentFiles(7, install::InstallWay::Label),
               {{L"PrinterType", 0}, {L"Language", 2}}});
}

TEST_F(InstallUnderWine, ProgramFolderLongerThan128CharactersWorks) {
  // Every path is sized from what the system reports; Wine's driver directory cannot be made
  // longer, but the program folder can.
  ToolFolder tool(L"long-" + std::wstring(150, L'x'));
  ASSERT_GT(tool.Path().size(), 128u);
  tool.AddWholePackage();
  ChildRun run = tool.Run({{0, 6, false, "USB001"}, {0, 4, false, "USB002"}});
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.steps.size(), 2u);
  EXPECT_TRUE(run.steps[0].installed);
  EXPECT_TRUE(run.steps[1].installed);
  EXPECT_EQ(ReadBytes(x64Directory + L"\\KTL-400L (4inch).ini"),
            install::LabelIniText("KTL-400L (4inch)"));
  EXPECT_TRUE(ReadQueue(L"TPR-76C", kX64).exists);
}

TEST_F(InstallUnderWine, EveryModelOfTheDialogInstallsThroughInstallPrinter) {
  // One installer, as in the tool: the label models first (a fresh installer takes the label
  // way), then the receipt models, which clear the label kind.
  ToolFolder tool(L"every");
  tool.AddWholePackage();
  std::vector<InstallStep> steps;
  for (int model : {6, 7, 8, 0, 1, 2, 3, 4, 5})
    steps.push_back({0, model, false, "USB00" + std::to_string(model)});
  ChildRun run = tool.Run(steps);
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.steps.size(), steps.size());
  for (size_t i = 0; i < steps.size(); ++i) {
    const int model = steps[i].modelIndex;
    const auto way = model < 6 ? install::InstallWay::Receipt : install::InstallWay::Label;
    SCOPED_TRACE(model);
    EXPECT_TRUE(run.steps[i].installed);
    EXPECT_EQ(run.steps[i].printerName, install::ModelName(model));
    QueueState q = ReadQueue(install::ModelName(model), kX64);
    ASSERT_TRUE(q.exists);
    EXPECT_EQ(q.port, classlib::AnsiToWide(steps[i].portName));
    EXPECT_EQ(q.driver, install::ModelName(model));
    EXPECT_EQ(q.dependentFiles, install::DependentFiles(model, way));
    std::map<std::wstring, DWORD> data;
    for (const auto& v : install::PrinterDataValues(model, way, 0x0409)) data[v.name] = v.value;
    EXPECT_EQ(q.data, data);
  }
}

TEST_F(InstallUnderWine, ExistingPrintersGiveTheCopySuffix) {
  ToolFolder tool(L"copies");
  tool.AddWholePackage();
  ChildRun english = tool.Run({{0, 0, false, "COM3:"}, {0, 0, true, "COM4:"}});
  ASSERT_TRUE(english.finished);
  ASSERT_EQ(english.steps.size(), 2u);
  EXPECT_EQ(english.steps[0].printerName, L"TPR-80C");
  EXPECT_EQ(english.steps[1].printerName, L"TPR-80C (copy 1)");
  EXPECT_TRUE(english.steps[1].installed);
  EXPECT_EQ(ReadQueue(L"TPR-80C (copy 1)", kX64).port, L"COM4:");
  EXPECT_EQ(DefaultPrinter(), L"TPR-80C (copy 1)");

  // Under a Chinese interface the suffix is Chinese, and the printer data says so too.
  ChildRun chinese = tool.Run({{0, 0, false, "COM5:"}}, "zh_CN.UTF-8");
  ASSERT_TRUE(chinese.finished);
  EXPECT_EQ(chinese.languageSeen, 0x0804u);
  ASSERT_EQ(chinese.steps.size(), 1u);
  EXPECT_EQ(chinese.steps[0].printerName, L"TPR-80C (副本 1)");
  EXPECT_EQ(ReadQueue(L"TPR-80C (副本 1)", kX64).data[L"Language"], 0u);
  // The default stays where it was.
  EXPECT_EQ(DefaultPrinter(), L"TPR-80C (copy 1)");
}

// --- failures a user meets -----------------------------------------------------------------

TEST_F(InstallUnderWine, MissingPackageShowsTheStagingMessageByLanguageAndOsChoice) {
  ToolFolder tool(L"nopackage");  // the tool alone, no driver folders beside it
  struct Case {
    const char* locale;
    unsigned language;
    std::vector<InstallStep> steps;
    std::vector<std::wstring> messages;
  };
  const std::wstring zh = L"安装过程发生错误！";
  const std::wstring zhLong = zh + L"\n请尝试<以管理员身份运行>安装文件。";
  const std::wstring en = L"Malfunction !";
  const std::wstring enLong = en + L"\nPls try using <Run as administrator>open this App";
  const Case cases[] = {
      {"zh_CN.UTF-8", 0x0804, {{1, 7, false, "USB001"}, {5, 0, false, "USB001"}}, {zh, zhLong}},
      {"en_US.UTF-8", 0x0409, {{0, 8, false, "USB001"}, {3, 2, false, "USB001"}}, {en, enLong}},
      {"ja_JP.UTF-8", 0x0411, {{2, 1, false, "USB001"}, {6, 5, false, "USB001"}}, {en, enLong}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    ChildRun run = tool.Run(c.steps, c.locale);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.languageSeen, c.language);
    ASSERT_EQ(run.steps.size(), c.steps.size());
    for (size_t i = 0; i < c.steps.size(); ++i) {
      EXPECT_FALSE(run.steps[i].installed);
      // The queue name is still the model name: the install stopped before choosing one.
      EXPECT_EQ(run.steps[i].printerName, install::ModelName(c.steps[i].modelIndex));
      ASSERT_EQ(run.steps[i].boxes.size(), 1u);
      EXPECT_EQ(run.steps[i].boxes[0].text, c.messages[i]);
      EXPECT_EQ(run.steps[i].boxes[0].caption, L"Setup");
    }
  }
  EXPECT_TRUE(FilesIn(x64Directory).empty());
  EXPECT_FALSE(ReadQueue(L"TPR-80C", kX64).exists);
}

TEST_F(InstallUnderWine, MissingResourceFileFailsAfterTheSharedFilesWereCopied) {
  ToolFolder tool(L"nores");
  tool.AddWholePackage();
  DeleteFileW((tool.Path() + L"\\Windows x64\\RES\\R58.DLL").c_str());
  ChildRun run = tool.Run({{0, 3, false, "USB001"}});
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.steps.size(), 1u);
  EXPECT_FALSE(run.steps[0].installed);
  ASSERT_EQ(run.steps[0].boxes.size(), 1u);
  EXPECT_EQ(run.steps[0].boxes[0].text, L"Malfunction !");
  // The GPD copy and the shared files were still carried out and stay; no driver, no queue.
  std::set<std::wstring> expected = {L"R58.GPD"};
  for (const auto& name : Entries(SourcePackage() + L"\\Windows x64"))
    if (name.back() != L'\\') expected.insert(name);
  EXPECT_EQ(FilesIn(x64Directory), expected);
  EXPECT_FALSE(ReadQueue(L"TPR-58", kX64).exists);
}

TEST_F(InstallUnderWine, EmptyPackageFoldersStageNothing) {
  ToolFolder tool(L"empty");
  CreateDirectoryW((tool.Path() + L"\\Windows x64").c_str(), nullptr);
  CreateDirectoryW((tool.Path() + L"\\KTL-400L (4inch)").c_str(), nullptr);
  CreateDirectoryW((tool.Path() + L"\\KTL-400L (4inch)\\Windows x64").c_str(), nullptr);
  ChildRun run = tool.Run({{0, 6, false, "USB001"}, {0, 1, false, "USB001"}});
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.steps.size(), 2u);
  // Label way: an empty folder is no staging failure. Windows refuses a driver whose files are
  // missing; Wine's spooler registers it anyway, so here the install goes through.
  EXPECT_TRUE(run.steps[0].boxes.empty());
  EXPECT_TRUE(run.steps[0].installed);
  // Receipt way: the model's two RES files cannot be copied.
  EXPECT_FALSE(run.steps[1].installed);
  ASSERT_EQ(run.steps[1].boxes.size(), 1u);
  EXPECT_EQ(run.steps[1].boxes[0].text, L"Malfunction !");
  EXPECT_TRUE(FilesIn(x64Directory).empty());
}

TEST_F(InstallUnderWine, PackageThatCannotBeWrittenStillInstallsTheLabelDriver) {
  ToolFolder tool(L"readonly");
  tool.AddPackageFolder(L"KTL-400L (4inch)");
  const std::wstring gpd = tool.Path() + L"\\KTL-400L (4inch)\\Windows x64\\KTL-400L (4inch).gpd";
  MarkTreeReadOnly(tool.Path() + L"\\KTL-400L (4inch)");
  // Wine lets root write to read-only files; a handle that denies writing stands in for
  // read-only media: opening the package GPD for update fails while it is held.
  HANDLE media =
      CreateFileW(gpd.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(media, INVALID_HANDLE_VALUE);
  FILE* forUpdate = _wfopen(gpd.c_str(), L"rb+");
  EXPECT_EQ(forUpdate, nullptr);
  if (forUpdate) fclose(forUpdate);

  ChildRun run = tool.Run({{0, 8, false, "USB001"}, {0, 7, false, "USB002"}});
  CloseHandle(media);
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.steps.size(), 2u);
  EXPECT_TRUE(run.steps[0].installed);
  EXPECT_EQ(ReadBytes(x64Directory + L"\\KTL-200L (2inch).gpd"),
            install::RewriteLabelGpd(ReadBytes(gpd), "KTL-200L (2inch).gpd", "KTL-200L (2inch)"));
  // The copies are writable, so a second install over them goes through.
  EXPECT_TRUE(run.steps[1].installed);
  EXPECT_TRUE(run.steps[1].boxes.empty());
  for (const auto& file : FilesIn(x64Directory)) {
    SCOPED_TRACE(classlib::WideToAnsi(file));
    EXPECT_FALSE(GetFileAttributesW((x64Directory + L"\\" + file).c_str()) &
                 FILE_ATTRIBUTE_READONLY);
  }
}

namespace {

using RegCopyTreeFunction = LONG(WINAPI*)(HKEY, LPCWSTR, HKEY);

// Makes the spooler's list of x86 drivers a volatile key for the life of the object: the
// spooler then cannot create the stable key of a new driver, and AddPrinterDriverW fails with
// ERROR_CHILD_MUST_BE_VOLATILE. The original list is put back afterwards.
class VolatileDriverList {
 public:
  VolatileDriverList() {
    copyTree_ = reinterpret_cast<RegCopyTreeFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "RegCopyTreeW")));
    HKEY list = Open(kList);
    HKEY backup = Create(kBackup, REG_OPTION_NON_VOLATILE);
    if (list && backup && copyTree_) copyTree_(list, nullptr, backup);
    Close(list);
    Close(backup);
    testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kList);
    Close(Create(kList, REG_OPTION_VOLATILE));
  }
  ~VolatileDriverList() {
    testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kList);
    HKEY list = Create(kList, REG_OPTION_NON_VOLATILE);
    HKEY backup = Open(kBackup);
    if (list && backup && copyTree_) copyTree_(backup, nullptr, list);
    Close(list);
    Close(backup);
    testsupport::DeleteRegistryTree(HKEY_LOCAL_MACHINE, kBackup);
  }

 private:
  static constexpr const wchar_t* kList =
      L"System\\CurrentControlSet\\Control\\Print\\Environments\\Windows NT "
      L"x86\\Drivers\\Version-3";
  static constexpr const wchar_t* kBackup = L"Software\\InstallTests\\Version-3";

  static HKEY Open(const wchar_t* path) {
    HKEY key = nullptr;
    return RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS
               ? key
               : nullptr;
  }
  static HKEY Create(const wchar_t* path, DWORD options) {
    HKEY key = nullptr;
    return RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, options, KEY_ALL_ACCESS, nullptr,
                           &key, nullptr) == ERROR_SUCCESS
               ? key
               : nullptr;
  }
  static void Close(HKEY key) {
    if (key) RegCloseKey(key);
  }

  RegCopyTreeFunction copyTree_ = nullptr;
};

std::wstring SystemText(DWORD error) {
  wchar_t* text = nullptr;
  FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&text), 0,
      nullptr);
  std::wstring result = text ? text : L"";
  if (text) LocalFree(text);
  return result;
}

}  // namespace

TEST_F(InstallUnderWine, DriverRegistrationFailureShowsTheSystemTextThenItsMessage) {
  ToolFolder tool(L"nodriver");
  tool.AddWholePackage();
  ChildRun english, chinese;
  {
    VolatileDriverList failing;
    english = tool.Run({{0, 1, false, "USB001", "x86"}});
    chinese = tool.Run({{0, 1, false, "USB001", "x86"}}, "zh_CN.UTF-8");
  }
  ASSERT_TRUE(english.finished);
  ASSERT_TRUE(chinese.finished);
  ASSERT_EQ(english.steps.size(), 1u);
  EXPECT_FALSE(english.steps[0].installed);
  EXPECT_EQ(english.steps[0].printerName, L"TPR-80");
  ASSERT_EQ(Texts(english.steps[0]),
            (std::vector<std::wstring>{SystemText(ERROR_CHILD_MUST_BE_VOLATILE),
                                       L"Install printer driver failed !"}));
  EXPECT_FALSE(SystemText(ERROR_CHILD_MUST_BE_VOLATILE).empty());
  ASSERT_EQ(chinese.steps.size(), 1u);
  ASSERT_EQ(chinese.steps[0].boxes.size(), 2u);
  EXPECT_FALSE(chinese.steps[0].boxes[0].text.empty());
  EXPECT_EQ(chinese.steps[0].boxes[1].text, L"安装打印机驱动过程发生错误！");
  // All staged files stay; there is no queue.
  EXPECT_TRUE(FilesIn(x86Directory).count(L"R80.GPD"));
  EXPECT_TRUE(FilesIn(x86Directory).count(L"UNIDRV.DLL"));
  EXPECT_FALSE(ReadQueue(L"TPR-80", kX86).exists);
}

static bool DriverRegistered(const wchar_t* environment, const std::wstring& name) {
  DWORD needed = 0, count = 0;
  EnumPrinterDriversW(nullptr, const_cast<wchar_t*>(environment), 1, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + 4);
  if (!EnumPrinterDriversW(nullptr, const_cast<wchar_t*>(environment), 1, buffer.data(),
                           static_cast<DWORD>(buffer.size()), &needed, &count))
    return false;
  const auto* drivers = reinterpret_cast<const DRIVER_INFO_1W*>(buffer.data());
  for (DWORD i = 0; i < count; ++i)
    if (name == drivers[i].pName) return true;
  return false;
}

TEST_F(InstallUnderWine, X86DriverOnA64BitSpoolerFailsAtTheQueue) {
  // What happens when the architecture is not reported as x64 on 64-bit Windows: the x86
  // package is staged and its driver registered, but a queue needs a driver of the spooler's
  // own environment, so AddPrinterW refuses it (Windows and Wine alike).
  ToolFolder tool(L"noqueue");
  tool.AddWholePackage();
  ChildRun run = tool.Run({{4, 8, false, "USB001", "x86"}});
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.steps.size(), 1u);
  EXPECT_FALSE(run.steps[0].installed);
  EXPECT_EQ(run.steps[0].printerName, L"KTL-200L (2inch)");
  EXPECT_EQ(
      Texts(run.steps[0]),
      (std::vector<std::wstring>{SystemText(ERROR_UNKNOWN_PRINTER_DRIVER), L"添加打印机失败！"}));
  // The x86 label files went to the x86 driver directory, and the driver stays registered.
  EXPECT_EQ(ReadBytes(x86Directory + L"\\KTL-200L (2inch).ini"),
            "[OEMFiles]\r\nOEMDriverFile1=KTL-200L (2inch)Drv.dll\r\n"
            "OEMConfigFile1=KTL-200L (2inch)UI.dll\r\n");
  EXPECT_EQ(
      ReadBytes(x86Directory + L"\\KTL-200L (2inch)Drv.dll"),
      ReadBytes(SourcePackage() + L"\\KTL-400L (4inch)\\Windows NT x86\\KTL-400L (4inch)Drv.dll"));
  EXPECT_TRUE(FilesIn(x64Directory).empty());
  EXPECT_TRUE(DriverRegistered(kX86, L"KTL-200L (2inch)"));
  EXPECT_FALSE(ReadQueue(L"KTL-200L (2inch)", kX64).exists);
}

TEST_F(InstallUnderWine, StoppedSpoolerDoesNotStopWinesInstall) {
  // Wine's spooler client works in the calling process: with the service stopped the driver
  // directory is still reported and the install goes through (Windows reports no directory,
  // which the tool treats as a staging failure).
  SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE spooler = OpenServiceW(manager, L"Spooler", SERVICE_STOP | SERVICE_QUERY_STATUS);
  SERVICE_STATUS status = {};
  ControlService(spooler, SERVICE_CONTROL_STOP, &status);
  for (int i = 0;
       i < 100 && QueryServiceStatus(spooler, &status) && status.dwCurrentState != SERVICE_STOPPED;
       ++i)
    Sleep(50);
  EXPECT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_STOPPED));
  CloseServiceHandle(spooler);
  CloseServiceHandle(manager);

  ToolFolder tool(L"stopped");
  tool.AddWholePackage();
  ChildRun run = tool.Run({{0, 5, false, "USB001"}});
  ASSERT_TRUE(run.finished);
  ASSERT_EQ(run.steps.size(), 1u);
  EXPECT_TRUE(run.steps[0].installed);
  EXPECT_TRUE(ReadQueue(L"TPR-76", kX64).exists);
}
