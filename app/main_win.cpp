// Entry point: the one application object runs the setup dialog; the process ends with it.
#include <windows.h>

#include "app/ravelin_app_win.h"

namespace {
app::CRavelinApp theApp;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  theApp.InitInstance();
  return 0;
}
