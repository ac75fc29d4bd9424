// Which Windows-version radio the dialog preselects for the detected system.
#pragma once

namespace app {

// Indexes of the Windows-version radio group (osChoice).
enum OsChoice {
  kOsWindows10 = 0,
  kOsWindows8 = 1,
  kOsVista = 2,
  kOsXp = 3,
  kOs2003 = 4,
  kOsWindows7 = 5,
  kOsWindows11 = 6,
};

// windowsIndex is the detected name's position in the installer's list of Windows names, or -1
// when the name is not in it ("Unknow"); then the current choice stays.
int PreselectedOsChoice(int windowsIndex, int currentChoice);

}  // namespace app
