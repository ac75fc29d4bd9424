#include "install/windows_names.h"

namespace install {

const char* const kWindowsNames[kWindowsNameCount] = {
    "Windows 2000", "Windows XP",  "Windows 2003", "Windows Vista", "Windows 7",
    "Windows 8",    "Windows 8.1", "Windows 10",   "Windows 10.1",  "Windows 11",
};

const char kUnknownWindows[] = "Unknow";

int WindowsVersionIndex(unsigned major, unsigned minor, unsigned build) {
  switch (major) {
    case 5:
      return minor <= 2 ? static_cast<int>(minor) : -1;
    case 6:
      // 6.3 and every later 6.x (Windows 8.1, Server 2012 R2) report as Windows 8.1.
      return minor <= 2 ? 3 + static_cast<int>(minor) : 6;
    case 10:
      if (build >= 22000) return 9;
      return minor == 0 ? 7 : 8;
    default:
      return -1;
  }
}

const char* WindowsVersionName(unsigned major, unsigned minor, unsigned build) {
  int index = WindowsVersionIndex(major, minor, build);
  return index < 0 ? kUnknownWindows : kWindowsNames[index];
}

const char* ArchitectureName(unsigned architecture) {
  static const char kX86[] = "x86";
  static const char kItanium[] = "Intel Itanium-based";
  static const char kX64[] = "x64";
  static const char kUnknownArchitecture[] = "Unknown architecture";
  static const char kUnknown[] = "Unknown";
  switch (architecture) {
    case 0:
      return kX86;
    case 6:
      return kItanium;
    case 9:
      return kX64;
    case 0xFFFF:
      return kUnknownArchitecture;
    default:
      return kUnknown;
  }
}

}  // namespace install
