// The installer object that the setup dialog owns as its member installer: the model table,
// the Windows version names, the queue name of the install in progress and the label flag.
#pragma once

#include <string>

#include "install/model_table.h"
#include "install/windows_names.h"

namespace install {

class DriverInstaller {
 public:
  DriverInstaller();

  // Per model row (see install/model_table.h); rows 7 to 19 of the file arrays and 10 to 19 of
  // the names are empty.
  std::wstring resourceFiles[kModelSlots];
  std::wstring gpdFiles[kModelSlots];
  std::wstring modelNames[kModelSlots];
  // The queue being installed: the model name from the start of an install, then the unique
  // queue name; after a successful install, the new queue. Initially 53 blanks.
  std::wstring printerName;
  // The same pointers as kWindowsNames, so DetectWindows' result is found here by identity.
  const char* windowsNames[kWindowsNameCount];
  // Install models from index 6 on the label way; cleared for good by a receipt model's install.
  bool labelKind;

  // --- Win32 operations (install/*_win.cpp) ---

  // The native processor architecture and the Windows version, each a pointer to one of the
  // constant names of install/windows_names.h. False when the version query fails; both outputs
  // are then untouched.
  bool DetectWindows(const char** architecture, const char** version);

  // Installs model modelIndex on the spooler port portName (ANSI text of the calling thread's
  // code page, such as "USB001", "COM3:" or "192.168.1.100"). True when the queue was created;
  // printerName then names it. On false the failed step has shown its messages.
  bool InstallPrinter(int osChoice, int modelIndex, bool setAsDefault, const std::string& portName);

  // Everything of InstallPrinter but the default printer.
  bool InstallDriverAndQueue(int osChoice, const char* architecture, int modelIndex,
                             const std::string& portName);

  // Stages every file of packageFolder into driverDirectory (receipt way: copied as they are;
  // label way while labelKind is set: renamed after printerName, INI and GPD rewritten).
  // False when the folder does not exist or a copy fails.
  bool StageDriverPackage(const std::wstring& driverDirectory, const std::wstring& packageFolder);

  // Sets printerName to a name that no installed printer uses (see install/queue_name.h).
  void MakeUniqueQueueName();
};

}  // namespace install
