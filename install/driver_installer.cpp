#include "install/driver_installer.h"

namespace install {

DriverInstaller::DriverInstaller() : printerName(53, L' '), labelKind(true) {
  for (int i = 0; i < kModelCount; ++i) {
    modelNames[i] = kModelTable[i].name;
    resourceFiles[i] = kModelTable[i].resourceFile;
    gpdFiles[i] = kModelTable[i].gpdFile;
  }
  for (int i = 0; i < kWindowsNameCount; ++i) windowsNames[i] = kWindowsNames[i];
}

}  // namespace install
