// The dialog's three interface languages: which one is chosen, and every text that depends on it.
#pragma once

#include <string>
#include <vector>

#include "common/types.h"

namespace app {

using common::LangId;

// A control whose caption is replaced in the chosen language.
struct Caption {
  int controlId;
  const wchar_t* text;
};

// The language the dialog opens in: exactly 0x0804 is Chinese, exactly 0x0411 Japanese, every
// other identifier (the other Chinese variants included) English.
LangId StartupLanguage(LangId userLanguage);

// Entry of the language list 1046 (0 Chinese, 1 English, 2 Japanese) and back; anything but 0
// and 2, including no selection (-1), is English.
int LanguageListIndex(LangId language);
LangId LanguageFromListIndex(int index);

// Entries of the language list, the same in every language.
const std::vector<const wchar_t*>& LanguageListEntries();

const wchar_t* WindowTitle(LangId language);
const std::vector<Caption>& Captions(LangId language);

// Body of the driver test page: Chinese for 0x0804, Japanese for 0x0411, English otherwise.
const wchar_t* TestPageText(LangId language);

// The title line that recommends a Windows-version radio.
std::wstring RecommendText(LangId language, const std::wstring& osName,
                           const std::wstring& archName);

// What the LAN kind's port monitor puts into selectedPort: the address comes from the address
// control, not from the list.
const wchar_t* LanAddressPrompt(LangId language);

// Version of the tool, shown by the title line's hidden about box.
constexpr const wchar_t* kToolVersion = L"1.0";

// Message shown on every fifth double-click of the title line: the tool and the system it saw.
std::wstring TitleDoubleClickText(LangId language, const std::wstring& osName,
                                  const std::wstring& archName);

}  // namespace app
