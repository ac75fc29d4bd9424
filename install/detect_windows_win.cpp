// The Windows version and processor architecture of the running system.
#include <windows.h>

#include "install/driver_installer.h"

namespace install {

bool DriverInstaller::DetectWindows(const char** architecture, const char** version) {
  SYSTEM_INFO system = {};
  GetSystemInfo(&system);
  // The native architecture: a 32-bit program on 64-bit Windows is told x64, not x86.
  SYSTEM_INFO native = {};
  GetNativeSystemInfo(&native);

  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;  // 276 bytes, the basic version record
  if (!GetVersionExW(&info)) return false;

  *version = WindowsVersionName(info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber);
  *architecture = ArchitectureName(native.wProcessorArchitecture);
  return true;
}

}  // namespace install
