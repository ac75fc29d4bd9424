#include "support/dialog_steps_win.h"

#include <commctrl.h>

#include "app/control_ids.h"

namespace testsupport {

LRESULT SendToTool(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(control, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result))
    throw UiError("the tool did not answer message " + std::to_string(message));
  return static_cast<LRESULT>(result);
}

void ChooseModel(Tool& tool, int model) {
  const int radio = app::kModelRadios[model];
  if (tool.Visible(radio)) {
    tool.Click(radio);
    return;
  }
  SendToTool(tool.Control(radio), BM_SETCHECK, BST_CHECKED, 0);
  for (int other = 0; other < 9; ++other)
    if (other != model)
      SendToTool(tool.Control(app::kModelRadios[other]), BM_SETCHECK, BST_UNCHECKED, 0);
  tool.SendClicked(radio);
}

bool WaitForPortEntries(const Tool& tool, const std::vector<std::wstring>& entries,
                        DWORD timeoutMs) {
  const DWORD begin = GetTickCount();
  for (;;) {
    if (tool.Entries(app::kPortList) == entries) return true;
    if (GetTickCount() - begin >= timeoutMs) return false;
    Sleep(25);
  }
}

void TypeAddress(Tool& tool, BYTE a, BYTE b, BYTE c, BYTE d) {
  SendToTool(tool.Control(app::kIpAddress), IPM_SETADDRESS, 0, MAKEIPADDRESS(a, b, c, d));
}

}  // namespace testsupport
