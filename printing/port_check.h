// What "Check Port" and "PrintSelftest" send, decided from the dialog's choices.
#pragma once

#include <optional>
#include <string>

#include "common/types.h"
#include "printing/pages.h"

namespace printing {

// The dialog's choices the two commands read.
struct PortChoice {
  int modelIndex = -1;
  common::PortKind portKind = common::PortKind::Usb;
  std::wstring selectedPort;  // text of the selected port-list entry, empty when none
  std::wstring baudText;      // text of the selected baud-list entry
  std::wstring addressText;   // text of the IP address control
};

struct PortCheckPlan {
  enum class Action {
    UsbTickets,  // receipt printer on USB: list the ports and print a ticket on each printer
    Page,        // select `transport`, send `pageText`, then the feed and cut when asked
    Nothing,     // a kind without a page: nothing is sent, the check fails
  };
  Action action = Action::Nothing;
  TransportRequest transport;
  std::wstring pageText;
  bool feedAndCut = false;
  // The dialog's selectedPort afterwards: the selected entry, or for a receipt printer on the
  // network the address typed into the address control.
  std::wstring selectedPort;
};
PortCheckPlan PlanPortCheck(const PortChoice& choice);

// The self-test: the transport to select and the command; none for the kind Other.
struct SelfTestPlan {
  TransportRequest transport;
  std::string command;
};
std::optional<SelfTestPlan> PlanSelfTest(const PortChoice& choice);

}  // namespace printing
