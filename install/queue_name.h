// The name of a new printer queue: the model name, or the first "<model> (copy n)" that no
// installed printer uses.
#pragma once

#include <string>
#include <vector>

#include "common/types.h"

namespace install {

// Names are compared exactly (letter case matters). The suffix is "(副本 n)" under a Chinese
// (0x0804) Windows interface and "(copy n)" otherwise; n starts at 1 and only grows, and the
// scan starts again from the first installed name after every match.
//
// debugLines, when given, receives the line that goes to the debugger after each comparison:
// "name=<installed>,i=<index, or -1 right after a match>,n=<next copy number>.temStr=<candidate>,
// userLanguage=<language id in decimal>\r\n".
std::wstring ChooseQueueName(const std::wstring& modelName,
                             const std::vector<std::wstring>& installedNames,
                             common::LangId windowsLanguage,
                             std::vector<std::wstring>* debugLines = nullptr);

}  // namespace install
