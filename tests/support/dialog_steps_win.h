// Steps on the tool's dialog that the UI driver leaves to the tests: choosing a model whose
// radio the layout hides, waiting for the port list, typing a printer address.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "support/ui_driver_win.h"

namespace testsupport {

// Sends a message to a control of the tool; throws UiError when the tool does not answer.
LRESULT SendToTool(HWND control, UINT message, WPARAM wParam, LPARAM lParam);

// Chooses model row `model` (0 to 8). Template 147 hides the label radios; for them what a
// click does is done by messages: the radio checked, the other models unchecked, and the click
// notification the dialog receives.
void ChooseModel(Tool& tool, int model);

// Waits until the port list holds exactly `entries` (in the list's order); false after the time.
bool WaitForPortEntries(const Tool& tool, const std::vector<std::wstring>& entries,
                        DWORD timeoutMs = 5000);

// Types a dotted address into the IP address control.
void TypeAddress(Tool& tool, BYTE a, BYTE b, BYTE c, BYTE d);

}  // namespace testsupport
