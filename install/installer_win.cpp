// The install operation: stage the model's driver files, register driver and queue, store the
// printer data and, if asked, make the queue the default printer.
#include <windows.h>

#include <vector>

#include "classlib/ansi_text_win.h"
#include "classlib/message_box_win.h"
#include "install/driver_installer.h"
#include "install/messages.h"
#include "install/queue_name.h"
#include "install/registration.h"
#include "install/registration_win.h"
#include "install/staging.h"
#include "install/staging_win.h"

namespace install {
namespace {

std::wstring ExecutablePath() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return L"";
    if (n < path.size()) return std::wstring(path.data(), n);
    path.resize(path.size() * 2);
  }
}

}  // namespace

bool DriverInstaller::InstallPrinter(int osChoice, int modelIndex, bool setAsDefault,
                                     const std::string& portName) {
  printerName = modelIndex >= 0 && modelIndex < kModelSlots ? modelNames[modelIndex] : L"";
  const char* architecture = nullptr;
  const char* version = nullptr;
  DetectWindows(&architecture, &version);
  bool installed = InstallDriverAndQueue(osChoice, architecture, modelIndex, portName);
  if (installed && setAsDefault) SetDefaultPrinterByOrdinal(printerName);
  return installed;
}

bool DriverInstaller::InstallDriverAndQueue(int osChoice, const char* architecture, int modelIndex,
                                            const std::string& portName) {
  const common::LangId language = GetUserDefaultUILanguage();
  const std::wstring environment = DriverEnvironment(architecture);
  const std::wstring driverDirectory = PrinterDriverDirectory(environment);
  const std::wstring programFolder = ProgramFolder(ExecutablePath());
  const InstallWay way = ChooseInstallWay(modelIndex, labelKind);
  const std::wstring packageFolder = PackageFolder(programFolder, environment, way);

  // Without a driver directory every copy would land in the root of the current drive.
  bool staged = !driverDirectory.empty();
  if (staged && way == InstallWay::Receipt) {
    bool ownFiles = CopyReceiptModelFiles(programFolder, environment, driverDirectory, modelIndex);
    staged = StageDriverPackage(driverDirectory, packageFolder) && ownFiles;
  } else if (staged) {
    staged = StageDriverPackage(driverDirectory, packageFolder);
  }
  if (!staged) {
    classlib::ShowMessage(classlib::MainWindow(), StagingFailureMessage(language, osChoice));
    return false;
  }

  if (!RegisterDriver(DescribeDriver(modelIndex, way, environment, printerName), language))
    return false;
  MakeUniqueQueueName();
  HANDLE queue = AddQueue(DescribePrinter(printerName, classlib::AnsiToWide(portName), modelIndex));
  if (!queue) return false;
  WritePrinterData(queue, PrinterDataValues(modelIndex, way, language));
  if (way == InstallWay::Receipt)
    RemoveStagedFiles(StagedFilesToRemove(driverDirectory, modelIndex));
  return true;
}

void DriverInstaller::MakeUniqueQueueName() {
  std::vector<std::wstring> installed;
  if (!EnumerateInstalledPrinterNames(installed)) return;
  std::vector<std::wstring> debugLines;
  printerName = ChooseQueueName(printerName, installed, GetUserDefaultUILanguage(), &debugLines);
  for (const auto& line : debugLines) OutputDebugStringW(line.c_str());
}

}  // namespace install
