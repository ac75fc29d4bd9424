#include "app/ravelin_app_win.h"

#include <commctrl.h>
#include <winsock2.h>

#include "app/config_dialog_win.h"
#include "classlib/message_box_win.h"

namespace app {

CRavelinApp::CRavelinApp() : restartManagerSupport(1) {}

bool CRavelinApp::InitInstance() {
  INITCOMMONCONTROLSEX classes = {8, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);

  // Windows Sockets 1.1, as the socket support of an MFC application asks; a failure only
  // leaves the network functions without sockets.
  WSADATA sockets;
  bool socketsStarted = WSAStartup(MAKEWORD(1, 1), &sockets) == 0;

  registryKey = L"应用程序向导生成的本地应用程序";

  {
    ConfingDialog dialog;
    dialog.DoModal();
    classlib::SetMainWindow(nullptr);
  }
  if (socketsStarted) WSACleanup();
  return false;
}

}  // namespace app
