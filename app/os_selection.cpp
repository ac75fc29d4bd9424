#include "app/os_selection.h"

namespace app {

int PreselectedOsChoice(int windowsIndex, int currentChoice) {
  // Windows 2000 has no radio of its own: its drivers are those of Windows 2003.
  static const int kByWindowsIndex[] = {
      kOs2003,       // Windows 2000
      kOsXp,         // Windows XP
      kOs2003,       // Windows 2003
      kOsVista,      // Windows Vista
      kOsWindows7,   // Windows 7
      kOsWindows8,   // Windows 8
      kOsWindows8,   // Windows 8.1
      kOsWindows10,  // Windows 10
      kOsWindows10,  // Windows 10.1
      kOsWindows11,  // Windows 11
  };
  if (windowsIndex < 0 || windowsIndex >= static_cast<int>(sizeof kByWindowsIndex / sizeof(int)))
    return currentChoice;
  return kByWindowsIndex[windowsIndex];
}

}  // namespace app
