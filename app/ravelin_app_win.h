// The application object: starts the system services the dialog needs, runs the dialog, ends.
#pragma once

#include <windows.h>

namespace app {

class CRavelinApp {
 public:
  CRavelinApp();
  // Runs the whole program; false, so that no message loop follows.
  bool InitInstance();

  // Restart-manager support: restart only (no recovery).
  DWORD restartManagerSupport = 0;
  // Profile key set as an application wizard's would be; nothing reads or writes it.
  const wchar_t* registryKey = nullptr;
};

}  // namespace app
