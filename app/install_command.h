// The rules of the Install Now command: which port the installation gets, the command's
// messages in the three languages, and where the FAQ document is.
#pragma once

#include <optional>
#include <string>

#include "common/types.h"

namespace app {

// The port-list entry that stands for "nothing to install on" for a kind, shown as the
// command's message when it is chosen: "NO USB", "NO COM", "NO BLE"; empty for Lan and Other,
// which have none.
std::wstring InstallPlaceholder(common::PortKind kind);

// A serial port name as the spooler wants it: ":" appended unless the entry has a colon
// already (COM10 gives COM10:, COM3: stays).
std::wstring WithPortColon(const std::wstring& entry);

struct InstallPort {
  // The port of the installation; absent when the command stops.
  std::optional<std::wstring> portName;
  // Shown when the command stops (the placeholder); empty: nothing is shown.
  std::wstring stopMessage;
};

// The port name by connection kind. selectedEntry is the selected entry of the port list (absent
// when none is selected); addressText the text of the address control, which alone counts for
// Lan. Usb: the entry as listed; Com and Ble: the entry with the colon rule. No entry or the
// kind's placeholder stops the command with the placeholder as message. Other is a kind no
// layout offers: the command stops without a message.
InstallPort ChooseInstallPort(common::PortKind kind,
                              const std::optional<std::wstring>& selectedEntry,
                              const std::wstring& addressText);

enum class InstallMessage {
  NoModel,        // OK button
  OfferTestPage,  // Yes and No buttons
  Failed,         // OK button
};

// The message in Chinese (0x0804), Japanese (0x0411) or English (any other language).
const wchar_t* InstallMessageText(InstallMessage message, common::LangId language);

// True for the Windows version names of Windows 8 and later: exactly "Windows 8", "Windows 8.1",
// "Windows 10", "Windows 10.1" or "Windows 11". Then the USB listing stops requiring its link
// flag.
bool IsWindows8OrLaterName(const std::wstring& osName);

// Pause between the answer to the test-page question and the test page.
constexpr unsigned kTestPagePauseMs = 511;

// The FAQ document is opened after a receipt model (model rows below 6) when the dialog has it
// enabled.
bool OpensFaqDocument(int modelIndex, bool faqEnabled);

// The FAQ document beside the executable: the path cut before its last backslash (no backslash:
// an empty folder) and "\Resource\KQDR512 FAQ 1.01.pdf" appended.
std::wstring FaqDocumentPath(const std::wstring& executablePath);

}  // namespace app
