// The installation's own failure messages. They follow the Windows interface language
// (GetUserDefaultUILanguage), not the language chosen in the dialog: 0x0804 is Chinese, every
// other language English.
#pragma once

#include <string>

#include "common/types.h"

namespace install {

bool UsesChineseTexts(common::LangId windowsLanguage);

// Staging failed. For osChoice 3 and above (XP, 2003, 7, 11) a second line asks the user to run
// the tool as administrator; osChoice 0 to 2 (10, 8, Vista), and no choice (-1), get one line.
std::wstring StagingFailureMessage(common::LangId windowsLanguage, int osChoice);

// Shown after the system's error text when AddPrinterDriverW failed.
std::wstring DriverRegistrationFailureMessage(common::LangId windowsLanguage);

// Shown after the system's error text when AddPrinterW failed; the same in every language.
std::wstring QueueCreationFailureMessage();

}  // namespace install
