// "Check Port" and "PrintSelftest": the dialog hands over its choices, these send the page or
// the command over the chosen connection.
#pragma once

#include <windows.h>

#include <string>

#include "common/types.h"
#include "printing/port_check.h"

namespace printing {

struct PortCommand {
  HWND dialog = nullptr;  // owns the message box and timers 1 and 3; holds button 1027
  PortChoice choice;
  common::LangId language = common::kEnglish;
  std::wstring osName;
};

// Prints the port page (or, for a receipt printer on USB, a ticket on every USB printer with
// the message of their ports; button 1027 is then disabled until timer 3 fires). Shows the
// check-connection message when nothing was sent. `selectedPort` receives the dialog's new
// selectedPort. True when the page was sent.
bool CheckPort(const PortCommand& command, std::wstring& selectedPort);

// Sends the printer's self-test command; nothing is reported.
void PrintSelfTest(const PortChoice& choice);

}  // namespace printing
